#pragma once
// The edited stages of the working folder as the edit menu lists them, and the two things the
// menu does to that folder besides opening a stage: taking in stage files from elsewhere (a
// friend's stage dropped on the window) and deleting one.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct Stage;

struct EditedStage {
    std::string name;     // the file's real bytes, even when they are not valid UTF-8
    std::u16string title; // without control characters; empty when the file cannot be read
};

// Every edited stage in natural order (stage2 before stage10), each with the title from the head
// of its file: only the lines before the points are read, so thousands of stages list quickly.
std::vector<EditedStage> listStagesWithTitles();

// The titles of the shipped stages 1 to `count` in the data folder (the current folder), read
// the same way; empty for a stage that cannot be read.
std::vector<std::u16string> shippedStageTitles(int count);

struct RefusedFile {
    std::string path;
    std::u16string reason; // in the player's words
    std::string keptAs;    // the edited stage that already holds the same stage, if that was why
};

struct StageImport {
    std::vector<EditedStage> added;
    std::vector<RefusedFile> refused;
};

// Takes in stage files from elsewhere, one at a time: each is read as a stage, with the reader's
// limits, and what was read is written into the working folder as the next free "stage" +
// number; nothing already there is ever written over. Folders, FIFOs, files too large and files
// with nothing of a stage in them are refused, copying nothing. With `refuseKept`, so is a stage
// the folder already holds (a page's link opened twice), naming the stage that holds it; a file
// dropped twice is copied twice, as asked. A shipped stage's title comes in the player's
// language, as when a copy is opened from the edit menu.
class StageImporter {
public:
    explicit StageImporter(bool refuseKept = false);
    ~StageImporter();
    // True when the file got as far as the disk (copied, or a write that failed): each copy is
    // flushed, so copies are the slow part, where refusals only read.
    bool Import(const std::string& path, StageImport& into);

private:
    std::string KeptAs(std::string_view content);

    bool refuseKept_;
    int next_ = 0; // "stage" + (next_ + 1) and the names before it were found taken
    std::unique_ptr<Stage> stage_;
    // The edited stages by the hash of their text, read at the first file taken in.
    std::optional<std::unordered_multimap<std::size_t, std::string>> kept_;
};

// Deletes the edited stage `name` (and nothing else) from the working folder; false when it is
// still there afterwards.
bool deleteEditedStage(const std::string& name);
