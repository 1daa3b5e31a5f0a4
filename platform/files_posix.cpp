// Files on POSIX systems: the native build and its tests work on real files.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <random>
#include <string>

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

bool failAt(const FaultHook& hook, WriteStep step) { return hook && hook(step); }

}  // namespace

char separator() { return '/'; }

bool exists(const std::string& path) {
    struct stat st {};
    return statPath(path, st);
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

bool writeReplace(const std::string& path, std::string_view bytes, const FaultHook& hook) {
    if (path.empty() || path.back() == '/') return false;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string prefix = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "." + name + ".tmp-";

    // The new file keeps the old one's permissions; a new file gets the
    // usual ones (0666 less the umask, applied by open).
    struct stat old {};
    const bool hadOld = statPath(path, old);

    if (failAt(hook, WriteStep::CreateTemp)) return false;
    std::random_device random;
    std::string tempPath;
    Fd fd;
    for (int attempt = 0; attempt < 100 && !fd.valid(); ++attempt) {
        tempPath = prefix + std::to_string(random());
        fd.reset(::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd.valid() && errno != EEXIST) return false;
    }
    if (!fd.valid()) return false;
    TempGuard guard(tempPath);
    if (hadOld) ::fchmod(fd.get(), old.st_mode & 07777);

    if (failAt(hook, WriteStep::Write) || !writeAll(fd.get(), bytes)) return false;
    if (failAt(hook, WriteStep::Flush) || ::fsync(fd.get()) != 0) return false;
    if (failAt(hook, WriteStep::Close) || !fd.close()) return false;
    if (failAt(hook, WriteStep::Replace) || ::rename(tempPath.c_str(), path.c_str()) != 0) return false;
    guard.release();

    // Make the rename itself durable; the data is already in place, so a
    // failure here changes nothing for the caller.
    Fd folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.valid()) ::fsync(folderFd.get());
    return true;
}

}  // namespace pallo::files
