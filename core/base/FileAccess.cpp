#include "core/base/FileAccess.h"

#include "core/base/Capabilities.h"

#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
constexpr std::string_view TempPrefix = ".twirlstick-";
constexpr std::string_view TempSuffix = ".tmp";
constexpr std::string_view TempLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t TempNameLetters = 10;

// How a write places its file at the target's name.
enum class Placement { New, OverAnything, OverRegularFile };

class FileErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "twirlstick-file"; }
    std::string message(int code) const override {
        switch (FileError(code)) {
        case FileError::NotRegular:
            return "not a regular file";
        case FileError::TooLarge:
            return "too large";
        case FileError::Link:
            return "a symbolic link";
        case FileError::FolderNotOwned:
            return "the folder belongs to another user";
        }
        return "unknown file error";
    }
};

std::error_code lastError() {
    return {errno, std::system_category()};
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that a failing close (a delayed write error) can be seen.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Reads until `data` is full or the file ends; the file may have shrunk since it was measured.
bool readInto(int fd, std::string& data, std::error_code& error) {
    std::size_t got = 0;
    while (got < data.size()) {
        const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = lastError();
            return false;
        }
        if (n == 0) break;
        got += std::size_t(n);
    }
    data.resize(got);
    return true;
}

bool writeAll(int fd, std::string_view content, std::error_code& error) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = n < 0 ? lastError() : std::make_error_code(std::errc::io_error);
            return false;
        }
        content.remove_prefix(std::size_t(n));
    }
    return true;
}

// A folder someone else owns could have our files swapped under us; root's and sticky ones
// (where only a file's owner may rename or remove it) cannot.
std::error_code checkFolder(int dirFd) {
    struct stat st {};
    if (::fstat(dirFd, &st) != 0) return lastError();
    const bool trusted = st.st_uid == ::geteuid() || st.st_uid == 0 || (st.st_mode & S_ISVTX) != 0;
    return trusted ? std::error_code{} : make_error_code(FileError::FolderNotOwned);
}

// Opens a folder (following a link to it) that must belong to the player.
std::error_code openOwnFolder(const std::string& folder, int& fd, struct stat& st) {
    fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return lastError();
    if (::fstat(fd, &st) != 0) return lastError();
    return st.st_uid == ::geteuid() ? std::error_code{} : make_error_code(FileError::FolderNotOwned);
}

std::vector<std::string> namesIn(int dirFd, const std::function<bool(std::string_view)>& chosen) {
    std::vector<std::string> names;
    const int listingFd = ::dup(dirFd);
    DIR* listing = listingFd < 0 ? nullptr : ::fdopendir(listingFd);
    if (!listing) {
        if (listingFd >= 0) ::close(listingFd);
        return names;
    }
    while (const dirent* entry = ::readdir(listing))
        if (chosen(entry->d_name)) names.emplace_back(entry->d_name);
    ::closedir(listing);
    return names;
}

// A new file no one else has opened: O_EXCL fails on anything already there, a link included.
int createTempFile(int dirFd, std::string& name, Readers readers, std::error_code& error) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = newTemporaryFileName();
        const int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                readers == Readers::OwnerOnly ? 0600 : 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    error = lastError();
    return -1;
}

// Gives the temporary file `temp` the name `target` as well, failing (EEXIST) on anything that
// stands there, a link included.
bool placeNew(int dirFd, const std::string& temp, const std::string& target) {
    if constexpr (PlatformHasHardLinks) return ::linkat(dirFd, temp.c_str(), dirFd, target.c_str(), 0) == 0;
    // Without hard links (the browser's file system), the files belong to the page's one thread,
    // so nothing can come between the look and the rename.
    struct stat st {};
    if (::fstatat(dirFd, target.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return errno == ENOENT && ::renameat(dirFd, temp.c_str(), dirFd, target.c_str()) == 0;
}

// Why what stands at `target` in `dirFd` may not be replaced by OverRegularFile: a link, or
// anything else that is not a regular file. Nothing there is fine.
std::error_code checkReplaceable(int dirFd, const std::string& target) {
    struct stat st {};
    if (::fstatat(dirFd, target.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? std::error_code{} : lastError();
    if (S_ISLNK(st.st_mode)) return FileError::Link;
    return S_ISREG(st.st_mode) ? std::error_code{} : make_error_code(FileError::NotRegular);
}

// Writes into the temporary file `temp` and puts it at `target`; both in `dirFd`. A New file is
// linked in instead of renamed, which fails (EEXIST) on anything standing at `target`.
bool fillAndRename(int dirFd, const std::string& temp, FileDescriptor& file, const std::string& target,
                   std::string_view content, Placement placement, std::error_code& error) {
    if (!writeAll(file.get(), content, error)) return false;
    if (::fsync(file.get()) != 0 || !file.close()) {
        error = lastError();
        return false;
    }
    // Looked at again just before the rename: a FIFO or link may have taken the name meanwhile.
    if (placement == Placement::OverRegularFile) error = checkReplaceable(dirFd, target);
    if (error) return false;
    const bool placed = placement == Placement::New
                            ? placeNew(dirFd, temp, target)
                            : ::renameat(dirFd, temp.c_str(), dirFd, target.c_str()) == 0;
    if (!placed) {
        error = lastError();
        return false;
    }
    if (placement == Placement::New) ::unlinkat(dirFd, temp.c_str(), 0);
    ::fsync(dirFd); // the new name reaches the disk too; the data is already safe if this fails
    return true;
}
} // namespace

const std::error_category& fileErrorCategory() {
    static const FileErrorCategory category;
    return category;
}

std::error_code make_error_code(FileError e) {
    return {int(e), fileErrorCategory()};
}

std::optional<std::string> readRegularFile(const std::string& path, const FileReadOptions& options,
                                           std::error_code& error) {
    error.clear();
    // O_NONBLOCK: opening a FIFO would otherwise wait for a writer that never comes.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    if (!options.followLinks) flags |= O_NOFOLLOW;
    const FileDescriptor file(::open(path.c_str(), flags));
    if (file.get() < 0) {
        error = !options.followLinks && errno == ELOOP ? make_error_code(FileError::Link) : lastError();
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(file.get(), &st) != 0) {
        error = lastError();
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        error = FileError::NotRegular;
        return std::nullopt;
    }
    const auto size = std::uint64_t(st.st_size);
    if (size > options.maxBytes && !options.cutAtMax) {
        error = FileError::TooLarge;
        return std::nullopt;
    }
    std::string data(std::size_t(size < options.maxBytes ? size : options.maxBytes), '\0');
    if (!readInto(file.get(), data, error)) return std::nullopt;
    return data;
}

namespace {
bool writeThroughTemporaryFile(const std::string& path, std::string_view content, Placement placement,
                               Readers readers, std::error_code* error) {
    std::error_code ec;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (name.empty())
        ec = std::make_error_code(std::errc::is_a_directory);
    else if (dir.get() < 0)
        ec = lastError();
    else
        ec = checkFolder(dir.get());
    if (!ec && placement == Placement::OverRegularFile) ec = checkReplaceable(dir.get(), name);
    std::string temp;
    if (!ec) {
        FileDescriptor file(createTempFile(dir.get(), temp, readers, ec));
        if (file.get() >= 0 && !fillAndRename(dir.get(), temp, file, name, content, placement, ec))
            ::unlinkat(dir.get(), temp.c_str(), 0);
    }
    if (error) *error = ec;
    return !ec;
}
} // namespace

bool writeFileAtomically(const std::string& path, std::string_view content, std::error_code* error,
                         Replacing replacing, Readers readers) {
    const Placement placement =
        replacing == Replacing::RegularFileOnly ? Placement::OverRegularFile : Placement::OverAnything;
    return writeThroughTemporaryFile(path, content, placement, readers, error);
}

bool createFileAtomically(const std::string& path, std::string_view content, std::error_code* error) {
    return writeThroughTemporaryFile(path, content, Placement::New, Readers::AsUmaskAllows, error);
}

std::string newTemporaryFileName() {
    std::random_device random;
    std::string name(TempPrefix);
    for (std::size_t i = 0; i < TempNameLetters; ++i)
        name += TempLetters[random() % TempLetters.size()];
    return name += TempSuffix;
}

bool isTemporaryFileName(std::string_view name) {
    if (name.size() != TempPrefix.size() + TempNameLetters + TempSuffix.size() ||
        !name.starts_with(TempPrefix) || !name.ends_with(TempSuffix))
        return false;
    const std::string_view letters = name.substr(TempPrefix.size(), TempNameLetters);
    return letters.find_first_not_of(TempLetters) == std::string_view::npos;
}

std::optional<FileStamp> fileStamp(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
    return FileStamp{std::uint64_t(st.st_dev), std::uint64_t(st.st_ino), std::int64_t(st.st_size),
                     std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

std::error_code checkOwnFolder(const std::string& folder) {
    int fd = -1;
    struct stat st {};
    const std::error_code error = openOwnFolder(folder, fd, st);
    const FileDescriptor dir(fd);
    return error;
}

std::error_code makeFolderPrivate(const std::string& folder) {
    int fd = -1;
    struct stat st {};
    std::error_code error = openOwnFolder(folder, fd, st);
    const FileDescriptor dir(fd);
    if (!error && (st.st_mode & 07777) != S_IRWXU && ::fchmod(dir.get(), S_IRWXU) != 0) error = lastError();
    return error;
}

std::error_code removeFilesIn(const std::string& folder, const std::function<bool(std::string_view)>& chosen,
                              std::chrono::seconds olderThan, Removing removing) {
    const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    int fd = -1;
    struct stat st {};
    const std::error_code error = openOwnFolder(folder, fd, st);
    const FileDescriptor dir(fd);
    if (error) return error;
    for (const std::string& name : namesIn(dir.get(), chosen)) {
        struct stat entry {};
        if (::fstatat(dir.get(), name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) continue;
        // A save of another copy of the game may still be writing a recent one.
        if (olderThan.count() > 0 && now - entry.st_mtime < olderThan.count()) continue;
        if (S_ISREG(entry.st_mode) || (S_ISLNK(entry.st_mode) && removing == Removing::FilesAndLinks))
            ::unlinkat(dir.get(), name.c_str(), 0);
    }
    return {};
}
