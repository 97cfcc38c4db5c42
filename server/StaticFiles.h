#pragma once
// The browser build, served from one folder and nothing outside it.
#include <httplib.h>

#include <string>

// Answers a GET for a file under `folder`: "/" is index.html (twirlstick.html when that is the
// page). Refused with 404: any "..", "." or empty segment, a backslash or NUL, an encoded slash
// or backslash in the raw target, a path whose real location (links resolved) leaves the
// folder, and anything but a regular file. Only known types are served, each with its MIME type.
void serveStaticFile(const std::string& folder, const httplib::Request& req, httplib::Response& res);
