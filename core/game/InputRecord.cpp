#include "core/game/InputRecord.h"

#include "core/base/FileAccess.h"
#include "core/base/TextScan.h"
#include "core/base/Utf.h"
#include "core/stage/TextFile.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace {
constexpr std::uint64_t ReplayFileCap = 16u * 1024 * 1024;
// A recorded frame adds at most a fast change and a switch; the end event may share its frame.
// Playback never applies more than this per frame, whatever a damaged file says.
constexpr int MaxEventsPerFrame = 3;

// Reads one decimal integer at `pos` after blanks; false when there is none or it is out of range.
bool readInt(std::string_view text, size_t& pos, long long& out) {
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    const std::optional<LeadingInteger> n = leadingInteger(text.substr(pos, 24));
    if (!n) return false;
    pos += n->length;
    out = n->value;
    return true;
}
} // namespace

std::size_t maxReplayFileBytes(std::int32_t frames) {
    const std::uint64_t run = frames > 0 ? std::uint64_t(frames) : 0;
    const std::uint64_t digits = std::to_string(run).size();
    const std::uint64_t bytes = Utf8Bom.size() + digits + 2 + (2 * run + 1) * (1 + 1 + digits + 2);
    return std::size_t(std::min(bytes, ReplayFileCap));
}

void InputRecord::append(bool fast, bool switchPivot) {
    if (fast != fast_) {
        events_.push_back({fast ? InputEvent::FastOn : InputEvent::FastOff, sinceLastEvent_});
        sinceLastEvent_ = 0;
    }
    if (switchPivot) {
        events_.push_back({InputEvent::Switch, sinceLastEvent_});
        sinceLastEvent_ = 0;
    }
    fast_ = fast;
    switch_ = switchPivot;
    ++played_;
    ++sinceLastEvent_;
    ++total_;
}

InputFlags InputRecord::readNext() {
    switch_ = false;
    for (int applied = 0;
         applied < MaxEventsPerFrame && readIndex_ >= 0 && readIndex_ < std::int32_t(events_.size());
         ++applied) {
        const InputEvent& e = events_[std::size_t(readIndex_)];
        if (sinceLastEvent_ < e.frames) break;
        sinceLastEvent_ -= e.frames;
        if (e.kind == InputEvent::Switch)
            switch_ = true;
        else if (e.kind == InputEvent::FastOn)
            fast_ = true;
        else if (e.kind == InputEvent::FastOff)
            fast_ = false;
        if (readIndex_ + 1 >= std::int32_t(events_.size())) {
            readIndex_ = -1;
            break;
        }
        ++readIndex_;
    }
    ++played_;
    ++sinceLastEvent_;
    return {fast_, switch_};
}

void InputRecord::rewind() {
    readIndex_ = 0;
    fast_ = false;
    switch_ = false;
    played_ = 0;
    sinceLastEvent_ = 0;
}

void InputRecord::finish() {
    events_.push_back({InputEvent::End, sinceLastEvent_});
    sinceLastEvent_ = 0;
}

std::string InputRecord::format() const {
    std::string out = std::string(Utf8Bom) + std::to_string(total_) + "\r\n";
    for (const InputEvent& e : events_)
        out += std::to_string(e.kind) + " " + std::to_string(e.frames) + "\r\n";
    return out;
}

bool InputRecord::save(const std::string& path, std::error_code* error, Replacing replacing) const {
    const std::string text = format();
    if (text.size() > maxReplayFileBytes(total_)) {
        if (error) *error = FileError::TooLarge;
        return false;
    }
    return writeFileAtomically(path, text, error, replacing);
}

void InputRecord::load(const std::string& path, std::int32_t longestRun, std::error_code* error) {
    *this = InputRecord{};
    if (const auto text = readTextFile(path, maxReplayFileBytes(longestRun), error)) parse(*text);
}

std::string InputRecord::parse(const std::string& text) {
    // Damaged files keep the events before the damage. Events must be well formed and fit
    // inside the run: known kinds, no negative gaps, gaps adding up to at most total.
    *this = InputRecord{};
    std::string_view rest = withoutBom(text);
    size_t pos = 0;
    long long total;
    if (!readInt(rest, pos, total)) return "no run length on its first line";
    if (total < 0 || total > std::numeric_limits<std::int32_t>::max()) return "a run length out of range";
    total_ = std::int32_t(total);
    const long long maxEvents = 2 * total + 1;
    long long frameSum = 0;
    int lineNumber = 0;
    while (pos < rest.size()) {
        const size_t lineEnd = std::min(rest.find('\n', pos), rest.size());
        std::string_view line = rest.substr(pos, lineEnd - pos);
        pos = lineEnd + 1;
        ++lineNumber; // the first is the rest of the total's line
        while (!line.empty() && isBlank(line.front()))
            line.remove_prefix(1);
        if (line.empty()) continue;
        const std::string damaged =
            "line " + std::to_string(lineNumber) + " is not an input event of the run";
        size_t p = 0;
        long long kind, frames;
        if (!readInt(line, p, kind) || !readInt(line, p, frames)) return damaged;
        if (kind < InputEvent::Switch || kind > InputEvent::End || frames < 0) return damaged;
        frameSum += frames;
        if (frameSum > total || std::int64_t(events_.size()) >= maxEvents) return damaged;
        events_.push_back({std::int32_t(kind), std::int32_t(frames)});
        if (kind == InputEvent::End) break;
    }
    return "";
}
