#pragma once
// An attempt as a run-length list of input events: one per change of the fast button and one
// per pivot switch, each counting the frames since the previous one. Recorded live, played back
// for the replay, and saved as a stage's best run.
#include "core/base/FileAccess.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <system_error>
#include <vector>

struct InputEvent {
    enum Kind : std::int32_t { Switch = 0, FastOn = 1, FastOff = 2, End = 3 };
    std::int32_t kind = Switch;
    std::int32_t frames = 0; // frames since the previous event (or the start)
};

// The largest replay file of a run of at most `frames` frames: a frame makes at most two events
// (a fast change and a switch) and the end adds one, each a line of a kind, a gap of at most
// `frames` and a line end. Whatever the run, never more than 16 MiB. The reader refuses a larger
// file and the writer refuses to write one, so every replay the game writes reads back.
std::size_t maxReplayFileBytes(std::int32_t frames);

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
    // False (with the reason in `error` when asked) when the file could not be written, or would
    // be larger than maxReplayFileBytes (total) (FileError::TooLarge); an existing file then
    // stays as it was. `replacing` as for writeFileAtomically.
    bool save(const std::string& path, std::error_code* error = nullptr,
              Replacing replacing = Replacing::Anything) const;
    // A file that cannot be read (missing, not a regular file, larger than a run of `longestRun`
    // frames can make) gives an empty record.
    void load(const std::string& path, std::int32_t longestRun, std::error_code* error = nullptr);
    // Replay file text: BOM, total, then "kind frames" per event, CR LF line ends.
    std::string format() const;
    // Reads the text; a damaged file keeps the events before the damage. "" when the text read
    // whole, else what is wrong with it (no total, a negative one, a line that is no event).
    std::string parse(const std::string& text);

    std::int32_t played() const { return played_; }
    std::int32_t total() const { return total_; }
    bool hasFramesLeft() const { return total_ - played_ > 0; }
    // Whether an event that changes the flags is still to be read: once none is, every further
    // frame reads the same flags (fast as it was, no switch).
    bool hasInputLeft() const {
        return readIndex_ >= 0 && readIndex_ < std::int32_t(events_.size()) &&
               events_[std::size_t(readIndex_)].kind != InputEvent::End;
    }
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
