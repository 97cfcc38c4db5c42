#pragma once
// An attempt as a run-length list of input events: one per change of the fast button and one
// per pivot switch, each counting the frames since the previous one. Recorded live, played back
// for the replay, and saved as a stage's best run.
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

struct InputEvent {
    enum Kind : std::int32_t { Switch = 0, FastOn = 1, FastOff = 2, End = 3 };
    std::int32_t kind = Switch;
    std::int32_t frames = 0; // frames since the previous event (or the start)
};

struct InputFlags {
    bool fast = false;
    bool switchPivot = false;
};

class InputRecord {
public:
    void append(bool fast, bool switchPivot);
    InputFlags readNext();
    void rewind();
    void finish();
    // False (with the reason in `error` when asked) when the file could not be written; an
    // existing file then stays as it was.
    bool save(const std::string& path, std::error_code* error = nullptr) const;
    // A file that cannot be read (missing, not a regular file, too large) gives an empty record.
    void load(const std::string& path, std::error_code* error = nullptr);
    // Replay file text: BOM, total, then "kind frames" per event, CR LF line ends.
    std::string format() const;
    void parse(const std::string& text);

    std::int32_t played() const { return played_; }
    std::int32_t total() const { return total_; }
    bool hasFramesLeft() const { return total_ - played_ > 0; }
    const std::vector<InputEvent>& events() const { return events_; }

private:
    std::vector<InputEvent> events_;
    std::int32_t readIndex_ = 0; // -1 once the events are used up
    bool fast_ = false;
    bool switch_ = false;
    std::int32_t played_ = 0;
    std::int32_t sinceLastEvent_ = 0;
    std::int32_t total_ = 0;
};
