#pragma once
// Opening and replacing the game's files without being tricked by what stands at a path: a FIFO
// or device is never waited on, a link is refused where the file must be the game's own, and a
// file is replaced only through a fresh temporary file that nobody else could have planted.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Reasons of our own why a path was not used; the rest are plain errno values.
enum class FileError {
    NotRegular = 1, // a directory, FIFO, device or socket stands at the path
    TooLarge,       // larger than any file of its kind
    Link,           // a symbolic link where the file must be the game's own
    FolderNotOwned, // the folder belongs to another user, who could swap files under us
};
const std::error_category& fileErrorCategory();
std::error_code make_error_code(FileError e);
template <> struct std::is_error_code_enum<FileError> : std::true_type {};

struct FileReadOptions {
    std::size_t maxBytes = 0;
    bool followLinks = true;
    bool cutAtMax = false; // read the first maxBytes of a larger file instead of refusing it
};

// The whole content of a regular file (or its first maxBytes with cutAtMax). On failure nullopt,
// with the reason in `error`.
std::optional<std::string> readRegularFile(const std::string& path, const FileReadOptions& options,
                                           std::error_code& error);

// What a file written over an existing one may take the place of.
enum class Replacing {
    Anything,        // the game's own names: a link there is replaced, never followed
    RegularFileOnly, // a path the user gave: a link (Link), a folder, FIFO or device (NotRegular) stays
};

// Who may read a file the game writes: the user's umask decides, or only the player (a secret).
enum class Readers { AsUmaskAllows, OwnerOnly };

// Writes `content` to a new uniquely named file in the target's folder (newTemporaryFileName,
// created exclusively, never through a link), flushes it to the disk and renames it over `path`.
// On any failure the temporary file is removed, the old file stays as it was, and `error` (when
// given) says why. Folders of another user are refused unless sticky, as /tmp is. What `replacing`
// refuses is refused before anything is written.
bool writeFileAtomically(const std::string& path, std::string_view content, std::error_code* error = nullptr,
                         Replacing replacing = Replacing::Anything, Readers readers = Readers::AsUmaskAllows);

// The same for a file that must be new: when anything stands at `path` (a file, a link, a
// folder) it stays as it was and the error is file_exists.
bool createFileAtomically(const std::string& path, std::string_view content,
                          std::error_code* error = nullptr);

// A fresh name for a temporary file: ".twirlstick-", ten random letters from a-z and 0-9, ".tmp".
std::string newTemporaryFileName();

// Whether `name` is one newTemporaryFileName could have made (a save's file left over by a crash).
bool isTemporaryFileName(std::string_view name);

// Which file stands at a path: enough to tell that another program replaced or rewrote it.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of what stands at `path` (a link itself, not what it names); nullopt when nothing does.
std::optional<FileStamp> fileStamp(const std::string& path);

// FolderNotOwned unless `folder` (a link to it followed) belongs to the player; its mode is not touched.
std::error_code checkOwnFolder(const std::string& folder);

// Sets a folder that belongs to the player to 0700, so no one else can plant files or links in
// it; a folder of another user is left alone (FolderNotOwned).
std::error_code makeFolderPrivate(const std::string& folder);

enum class Removing { FilesAndLinks, FilesOnly };

// Deletes the files (and with FilesAndLinks the links) whose names `chosen` accepts from a folder
// that belongs to the player (FolderNotOwned otherwise, deleting nothing). Links are never
// followed; sub-folders, FIFOs and the like stay, and so does anything changed within `olderThan`.
std::error_code removeFilesIn(const std::string& folder, const std::function<bool(std::string_view)>& chosen,
                              std::chrono::seconds olderThan = std::chrono::seconds(0),
                              Removing removing = Removing::FilesAndLinks);
