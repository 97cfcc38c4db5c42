#pragma once
// Files dropped on the edit menu, taken in a step a frame in the order they came. A refusal only
// reads, so a step decides many; a copy is flushed to the disk, so a step makes one, and more
// only while the frame has time for them: a drop of ten thousand bad files answers at once, and a
// big drop of stages keeps the menu drawing.
#include "core/editor/EditedStages.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// What became of a drop that the menu tells in one box once the queue is empty.
struct ImportReport {
    std::vector<RefusedFile> refused; // the first few refused, in the order they came
    std::size_t refusedCount = 0;     // every refused one
    std::size_t stopped = 0;          // given up by Stop before they were looked at
    bool Empty() const { return refusedCount == 0 && stopped == 0; }
};

class ImportQueue {
public:
    static constexpr int LooksPerStep = 500; // bounds a step's reading: files are up to 64 KB
    static constexpr std::size_t RefusalsKept = 8;

    void Add(const std::vector<std::string>& paths);
    // Takes in the next files, going on after a copy only while `timeLeft` says so; the stages
    // added, in order.
    std::vector<EditedStage> Step(const std::function<bool()>& timeLeft);
    std::size_t Left() const { return paths_.size() - next_; }
    // Gives up the files not yet looked at; the report counts them.
    void Stop();
    // Once nothing is left: the report of the drops since the last one, which it then forgets.
    ImportReport TakeReport();

private:
    std::vector<std::string> paths_;
    std::size_t next_ = 0;
    ImportReport report_;
    StageImporter importer_;
};
