#pragma once
// The network under the online records: requests go out beside the frame loop (a worker thread
// on the desktop, the browser's fetch in a page) and their answers wait in a mailbox that the
// frame loop empties once a frame. Nothing here ever makes a frame wait.
#include "core/online/RecordsClient.h"

#include <string>
#include <vector>

namespace platform {

// Starts a request to `server` ("http://host:port"; "" in a page: its own origin). False when
// too many wait already: the caller asks again on a later frame.
bool sendRequest(const std::string& server, online::Request request);

// The answers that came back since the last call.
std::vector<online::Answer> takeAnswers();

// Ends the network work before the program does: a request on its way is cut off.
void stopRequests();

} // namespace platform
