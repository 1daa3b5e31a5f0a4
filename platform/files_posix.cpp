// Files on POSIX systems: the native build and its tests work on real files.
#include <dirent.h>
#include <limits.h>
#include <sys/file.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "platform/files.h"

namespace pallo::files {
namespace {

// Owns a file descriptor; closes it on every path out.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether close itself succeeded: a deferred
    // write error (NFS, full disk) can surface only here.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

class Dir {
public:
    explicit Dir(const std::string& path) : dir_(::opendir(path.c_str())) {}
    ~Dir() {
        if (dir_) ::closedir(dir_);
    }
    Dir(const Dir&) = delete;
    Dir& operator=(const Dir&) = delete;
    DIR* get() const { return dir_; }

private:
    DIR* dir_;
};

// Removes the temporary file unless the replace went through.
class TempGuard {
public:
    explicit TempGuard(std::string path) : path_(std::move(path)) {}
    void arm(std::string path) { path_ = std::move(path); }
    ~TempGuard() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TempGuard(const TempGuard&) = delete;
    TempGuard& operator=(const TempGuard&) = delete;
    void release() { path_.clear(); }

private:
    std::string path_;
};

bool statPath(const std::string& path, struct stat& st) { return !path.empty() && ::stat(path.c_str(), &st) == 0; }

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The cause of the last failed call, as a player can act on it.
WriteError lastError() {
    switch (errno) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return WriteError::DiskFull;
        case EACCES:
        case EPERM:
        case EROFS: return WriteError::AccessDenied;
        case EBUSY:
        case ETXTBSY:
        case EAGAIN: return WriteError::InUse;
        default: return WriteError::Other;
    }
}

// The folder and the name of a path; "." for a bare name.
struct PathParts {
    std::string folder, name;
};
PathParts partsOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {".", path};
    return {path.substr(0, slash == 0 ? 1 : slash), path.substr(slash + 1)};
}

// The temporary files of a replace of path are named ".<name>.tmp-<digits>"
// in path's folder.
std::string tempPrefix(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string head = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    return head + "." + partsOf(path).name + ".tmp-";
}

bool isOurTemp(std::string_view name, std::string_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return false;
    for (const char c : name.substr(prefix.size())) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

}  // namespace

char separator() { return '/'; }

bool exists(const std::string& path) {
    struct stat st {};
    return statPath(path, st);
}

bool sameFile(const std::string& a, const std::string& b) {
    struct stat sa {}, sb {};
    return statPath(a, sa) && statPath(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool isDirectory(const std::string& path) {
    struct stat st {};
    return statPath(path, st) && S_ISDIR(st.st_mode);
}

std::vector<std::string> listSubdirectories(const std::string& dir) {
    std::vector<std::string> names;
    if (dir.empty()) return names;
    Dir d(dir);
    if (!d.get()) return names;
    std::string base = dir;
    if (base.back() != '/') base += '/';
    while (const dirent* e = ::readdir(d.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        // d_type is a hint some file systems leave unknown; links to
        // folders count as folders, as the Windows listing would show them.
        if (e->d_type == DT_DIR || ((e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) && isDirectory(base + name))) {
            names.push_back(name);
        }
    }
    return names;
}

std::optional<std::string> readAll(const std::string& path) {
    if (path.empty()) return std::nullopt;
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return std::nullopt;
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
    std::string bytes;
    if (S_ISREG(st.st_mode) && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::optional<Stamp> stamp(const std::string& path) {
    struct stat st {};
    if (!statPath(path, st)) return std::nullopt;
    Stamp s;
    s.size = static_cast<std::uint64_t>(st.st_size);
    s.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    return s;
}

bool isReadOnly(const std::string& path) {
    struct stat st {};
    return statPath(path, st) && (st.st_mode & S_IWUSR) == 0;
}

std::string finalPath(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (resolved) return resolved.get();
    // A link to a file not there yet: the replace creates its target.
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    if (n <= 0) return path;
    const std::string to(target, static_cast<std::size_t>(n));
    if (to.front() == '/') return to;
    const PathParts parts = partsOf(path);
    return parts.folder + "/" + to;
}

struct Replacement::Handles {
    std::string path;  // the file replaced (a link's target)
    std::string temp;
    // The guard outlives the descriptor: the file is closed, then removed.
    TempGuard guard{""};
    Fd fd;
};

Replacement::Replacement(const std::string& linkPath, FaultHook hook)
    : handles_(std::make_unique<Handles>()), hook_(std::move(hook)) {
    if (linkPath.empty() || linkPath.back() == '/') {
        error_ = WriteError::Other;
        return;
    }
    Handles& h = *handles_;
    h.path = finalPath(linkPath);
    // The new file keeps the old one's permissions; a new file gets the
    // usual ones (0666 less the umask, applied by open).
    struct stat old {};
    const bool hadOld = statPath(h.path, old);

    if (!ask(WriteStep::CreateTemp)) return;
    const std::string prefix = tempPrefix(h.path);
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !h.fd.valid(); ++attempt) {
        h.temp = prefix + std::to_string(random());
        h.fd.reset(::open(h.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!h.fd.valid() && errno != EEXIST) {
            error_ = lastError();
            return;
        }
    }
    if (!h.fd.valid()) {
        error_ = WriteError::Other;
        return;
    }
    h.guard.arm(h.temp);
    if (hadOld) ::fchmod(h.fd.get(), old.st_mode & 07777);
}

Replacement::~Replacement() = default;

bool Replacement::writeHere(std::string_view bytes) {
    if (writeAll(handles_->fd.get(), bytes)) return true;
    error_ = lastError();
    return false;
}

bool Replacement::seek(std::uint64_t offset) {
    if (error_ != WriteError::None) return false;
    if (offset > size_ || ::lseek(handles_->fd.get(), static_cast<off_t>(offset), SEEK_SET) < 0) {
        error_ = WriteError::Other;
        return false;
    }
    position_ = offset;
    return true;
}

WriteResult Replacement::commit() {
    Handles& h = *handles_;
    // Each step runs only when the one before went through.
    if (ask(WriteStep::Flush) && ::fsync(h.fd.get()) != 0) error_ = lastError();
    if (ask(WriteStep::Close) && !h.fd.close()) error_ = lastError();
    if (ask(WriteStep::Replace) && ::rename(h.temp.c_str(), h.path.c_str()) != 0) error_ = lastError();
    if (error_ != WriteError::None) return {error_};
    h.guard.release();

    // Make the rename itself durable; the data is already in place, so a
    // failure here changes nothing for the caller.
    Fd folderFd(::open(partsOf(h.path).folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.valid()) ::fsync(folderFd.get());
    return {};
}

int removeLeftoverTemps(const std::string& linkPath) {
    if (linkPath.empty()) return 0;
    const std::string path = finalPath(linkPath);
    const PathParts parts = partsOf(path);
    const std::string prefix = "." + parts.name + ".tmp-";
    Dir d(parts.folder);
    if (!d.get()) return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(d.get())) {
        if (!isOurTemp(e->d_name, prefix)) continue;
        if (::unlink((parts.folder + "/" + e->d_name).c_str()) == 0) ++removed;
    }
    return removed;
}

// The lock is an advisory lock on the file's folder: the folder outlives
// every replace of the file, and no lock file is left in the pack.
ReplaceLock::ReplaceLock(const std::string& path, std::chrono::milliseconds wait) {
    // A lock that cannot be had for another reason than a second holder
    // (no folder, a file system without locks) is no contention: the
    // replace then reports its own failure, if any.
    held_ = true;
    if (path.empty()) return;
    const int fd = ::open(partsOf(finalPath(path)).folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    handle_ = fd;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) return;
        if (std::chrono::steady_clock::now() >= deadline) {
            held_ = false;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

ReplaceLock::~ReplaceLock() {
    if (handle_ < 0) return;
    ::close(static_cast<int>(handle_));
}

}  // namespace pallo::files
