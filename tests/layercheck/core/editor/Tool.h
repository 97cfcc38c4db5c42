#pragma once
// Not compiled: the header render/Picture.cpp names without its root.
