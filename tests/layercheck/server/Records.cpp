// The server stands on the core alone: this include is refused.
#include "ui/render/Picture.h"
