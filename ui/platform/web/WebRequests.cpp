// The page's network: the browser's fetch, from the page's own origin (the server that served
// it), answered through callbacks on the page's one thread between frames.
#include "ui/platform/Requests.h"

#include <emscripten/fetch.h>

#include <array>
#include <cstring>
#include <memory>

namespace platform {
namespace {
constexpr int MaxWaiting = 16;
constexpr std::size_t MaxAnswerBytes = online::MaxSubmittedReplayBytes + 4096;
constexpr unsigned long TimeoutMs = 8000;

// What a fetch keeps alive until it ends: the request's body and headers are read by the browser
// after emscripten_fetch returns.
struct InFlight {
    int tag;
    std::string body;
    std::string contentType;
    std::string authorization;
    std::array<const char*, 5> headers{}; // name, value, ..., null
};

int waiting = 0;
std::vector<online::Answer> answers;

void finished(emscripten_fetch_t* fetch) {
    std::unique_ptr<InFlight> job(static_cast<InFlight*>(fetch->userData));
    online::Answer answer{job->tag, fetch->status, {}};
    if (fetch->numBytes > MaxAnswerBytes)
        answer.status = 0; // no true answer is that large
    else if (fetch->data)
        answer.body.assign(fetch->data, std::size_t(fetch->numBytes));
    answers.push_back(std::move(answer));
    --waiting;
    emscripten_fetch_close(fetch);
}
} // namespace

bool sendRequest(const std::string& server, online::Request request) {
    if (waiting >= MaxWaiting) return false;
    auto job = std::make_unique<InFlight>(InFlight{request.tag, std::move(request.body), request.contentType,
                                                   request.token.empty() ? "" : "Bearer " + request.token});
    emscripten_fetch_attr_t attr;
    emscripten_fetch_attr_init(&attr);
    std::strcpy(attr.requestMethod, request.method == online::Method::Post ? "POST" : "GET");
    attr.attributes = EMSCRIPTEN_FETCH_LOAD_TO_MEMORY;
    attr.timeoutMSecs = TimeoutMs;
    attr.onsuccess = finished;
    attr.onerror = finished; // an HTTP refusal (4xx) comes here too, with its status and body
    std::size_t h = 0;
    if (!job->contentType.empty())
        job->headers[h++] = "Content-Type", job->headers[h++] = job->contentType.c_str();
    if (!job->authorization.empty())
        job->headers[h++] = "Authorization", job->headers[h++] = job->authorization.c_str();
    attr.requestHeaders = job->headers.data();
    attr.requestData = job->body.data();
    attr.requestDataSize = job->body.size();
    attr.userData = job.get();
    const std::string url = server + request.path;
    if (!emscripten_fetch(&attr, url.c_str())) return false;
    job.release(); // the callback owns it now
    ++waiting;
    return true;
}

std::vector<online::Answer> takeAnswers() {
    return std::exchange(answers, {});
}

void stopRequests() {} // the page's fetches end with the page

} // namespace platform
