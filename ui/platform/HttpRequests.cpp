// The desktop's network: one worker thread with cpp-httplib's client, short time-outs and a
// bounded queue, so a server that is gone, slow or endless costs the game nothing but an answer
// that never comes.
#include "ui/platform/Requests.h"

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace platform {
namespace {
constexpr std::size_t MaxWaiting = 16;
// The largest true answer is a run's replay; more is a server gone wrong, and reading stops.
constexpr std::size_t MaxAnswerBytes = online::MaxSubmittedReplayBytes + 4096;
constexpr time_t ConnectSeconds = 3;
constexpr time_t TransferSeconds = 5;

struct Job {
    std::string server;
    online::Request request;
};

class Worker {
public:
    ~Worker() { Stop(); }

    bool Push(Job job) {
        std::lock_guard lock(mutex_);
        if (stopping_ || jobs_.size() >= MaxWaiting) return false;
        if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
        jobs_.push_back(std::move(job));
        wake_.notify_one();
        return true;
    }

    std::vector<online::Answer> Take() {
        std::lock_guard lock(mutex_);
        return std::exchange(answers_, {});
    }

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            if (current_) current_->stop(); // a request on its way is cut off, not waited for
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

private:
    void Run() {
        for (;;) {
            Job job;
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
                if (stopping_) return;
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            online::Answer answer = Perform(job);
            std::lock_guard lock(mutex_);
            answers_.push_back(std::move(answer));
        }
    }

    online::Answer Perform(const Job& job) {
        online::Answer answer{job.request.tag, 0, {}};
        httplib::Client client(job.server);
        if (!client.is_valid()) return answer;
        client.set_connection_timeout(ConnectSeconds);
        client.set_read_timeout(TransferSeconds);
        client.set_write_timeout(TransferSeconds);
        {
            std::lock_guard lock(mutex_);
            if (stopping_) return answer;
            current_ = &client;
        }
        httplib::Request req;
        req.method = job.request.method == online::Method::Post ? "POST" : "GET";
        req.path = job.request.path;
        req.body = job.request.body;
        if (!job.request.contentType.empty()) req.set_header("Content-Type", job.request.contentType);
        if (!job.request.token.empty()) req.set_header("Authorization", "Bearer " + job.request.token);
        std::string body;
        req.content_receiver = [&body](const char* data, std::size_t length, std::uint64_t, std::uint64_t) {
            if (body.size() + length > MaxAnswerBytes) return false;
            body.append(data, length);
            return true;
        };
        httplib::Response res;
        httplib::Error error = httplib::Error::Success;
        const bool answered = client.send(req, res, error);
        {
            std::lock_guard lock(mutex_);
            current_ = nullptr;
        }
        if (answered) answer = {job.request.tag, res.status, std::move(body)};
        return answer;
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    std::vector<online::Answer> answers_;
    std::thread thread_;
    bool stopping_ = false;
    httplib::Client* current_ = nullptr;
};

Worker& worker() {
    static Worker w;
    return w;
}
} // namespace

bool sendRequest(const std::string& server, online::Request request) {
    return worker().Push({server, std::move(request)});
}

std::vector<online::Answer> takeAnswers() {
    return worker().Take();
}

void stopRequests() {
    worker().Stop();
}

} // namespace platform
