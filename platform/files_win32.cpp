// Files on Windows: wide APIs throughout, so any path works whatever the
// system's code page; paths arrive and leave as UTF-8.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "platform/files.h"

namespace pallo::files {
namespace {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0) return {};
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

class Handle {
public:
    explicit Handle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    void reset(HANDLE h = INVALID_HANDLE_VALUE) {
        if (valid()) CloseHandle(h_);
        h_ = h;
    }
    // Closes now and reports whether closing succeeded.
    bool close() {
        const HANDLE h = h_;
        h_ = INVALID_HANDLE_VALUE;
        return h == INVALID_HANDLE_VALUE || h == nullptr || CloseHandle(h) != 0;
    }

private:
    HANDLE h_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    ~FindHandle() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

// Removes the temporary file unless the replace went through.
class TempGuard {
public:
    TempGuard() = default;
    ~TempGuard() {
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TempGuard(const TempGuard&) = delete;
    TempGuard& operator=(const TempGuard&) = delete;
    void arm(std::wstring path) { path_ = std::move(path); }
    void release() { path_.clear(); }

private:
    std::wstring path_;
};

DWORD attributes(const std::string& path) {
    if (path.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(widen(path).c_str());
}

bool isSeparator(char c) { return c == '\\' || c == '/'; }

WriteError errorOf(DWORD code) {
    switch (code) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return WriteError::DiskFull;
        case ERROR_ACCESS_DENIED:
        case ERROR_WRITE_PROTECT: return WriteError::AccessDenied;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return WriteError::InUse;
        default: return WriteError::Other;
    }
}

WriteError lastError() { return errorOf(GetLastError()); }

// Where the folder part of path ends (just after its last separator).
std::size_t nameStart(const std::string& path) {
    std::size_t cut = path.size();
    while (cut > 0 && !isSeparator(path[cut - 1])) --cut;
    return cut;
}

bool isOurTemp(std::wstring_view name, std::wstring_view prefix) {
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

bool writeAll(HANDLE h, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Virus scanners, indexers and editors briefly hold files open; the
// rename is retried for about a second before giving up.
WriteError replaceWithRetry(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return WriteError::None;
        }
        const DWORD error = GetLastError();
        const bool transient =
            error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
        if (!transient || attempt >= 20) return errorOf(error);
        Sleep(50);
    }
}

}  // namespace

char separator() { return '\\'; }

bool exists(const std::string& path) { return attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool isDirectory(const std::string& path) {
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> listSubdirectories(const std::string& dir) {
    std::vector<std::string> names;
    if (dir.empty()) return names;
    std::string pattern = dir;
    if (!isSeparator(pattern.back())) pattern += '\\';
    pattern += '*';
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(widen(pattern).c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) names.push_back(narrow(name));
    } while (FindNextFileW(find.get(), &data));
    return names;
}

std::optional<std::string> readAll(const std::string& path) {
    if (path.empty()) return std::nullopt;
    Handle h(CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid()) return std::nullopt;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h.get(), &size) || size.QuadPart < 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    char buffer[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(h.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    return bytes;
}

std::optional<Stamp> stamp(const std::string& path) {
    if (path.empty()) return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(widen(path).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    Stamp s;
    s.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime);
    // FILETIME counts 100 ns steps from 1601; from 1970 it fits in
    // nanoseconds, from 1601 it would not.
    constexpr std::int64_t kTicks1601To1970 = 116'444'736'000'000'000;
    s.modifiedNs = (ticks - kTicks1601To1970) * 100;
    return s;
}

bool isReadOnly(const std::string& path) {
    const DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY) != 0;
}

bool sameFile(const std::string& a, const std::string& b) {
    BY_HANDLE_FILE_INFORMATION info[2]{};
    const std::string* paths[2] = {&a, &b};
    for (int i = 0; i < 2; ++i) {
        Handle h(CreateFileW(widen(*paths[i]).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!h.valid() || !GetFileInformationByHandle(h.get(), &info[i])) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
}

// Every existing path is resolved through an open handle, not only one
// marked as a reparse point: Wine shows a Unix symbolic link as a plain
// file, and a rename onto it would replace the link instead of its target.
std::string finalPath(const std::string& path) {
    if (attributes(path) == INVALID_FILE_ATTRIBUTES) return path;
    Handle h(CreateFileW(widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid()) return path;
    std::wstring name(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h.get(), name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
    if (n >= name.size()) {
        name.resize(n + 1);
        n = GetFinalPathNameByHandleW(h.get(), name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
    }
    if (n == 0 || n >= name.size()) return path;
    name.resize(n);
    // "\\?\C:\x" is "C:\x"; "\\?\UNC\server\share" is "\\server\share".
    if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) return "\\" + narrow(std::wstring_view(name).substr(7));
    if (name.rfind(L"\\\\?\\", 0) == 0) return narrow(std::wstring_view(name).substr(4));
    return narrow(name);
}

struct Replacement::Handles {
    std::wstring target;  // the file replaced (a link's target)
    std::wstring temp;
    // Declared before the handle so the file is closed before it is
    // deleted: Windows cannot delete a file that is still open.
    TempGuard guard;
    Handle file;
};

Replacement::Replacement(const std::string& linkPath, FaultHook hook)
    : handles_(std::make_unique<Handles>()), hook_(std::move(hook)) {
    Handles& h = *handles_;
    const std::string path = linkPath.empty() || isSeparator(linkPath.back()) ? std::string() : finalPath(linkPath);
    h.target = widen(path);
    if (h.target.empty()) {
        error_ = WriteError::Other;
        return;
    }
    if (!ask(WriteStep::CreateTemp)) return;
    const std::size_t cut = nameStart(path);
    const std::string prefix = path.substr(0, cut) + "." + path.substr(cut) + ".tmp-";
    std::random_device random;
    for (int attempt = 0; attempt < 100 && !h.file.valid(); ++attempt) {
        h.temp = widen(prefix + std::to_string(random()));
        h.file.reset(
            CreateFileW(h.temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!h.file.valid() && GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            error_ = lastError();
            return;
        }
    }
    if (!h.file.valid()) {
        error_ = WriteError::Other;
        return;
    }
    h.guard.arm(h.temp);
}

Replacement::~Replacement() = default;

bool Replacement::writeHere(std::string_view bytes) {
    if (writeAll(handles_->file.get(), bytes)) return true;
    error_ = lastError();
    return false;
}

bool Replacement::seek(std::uint64_t offset) {
    if (error_ != WriteError::None) return false;
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (offset > size_ || !SetFilePointerEx(handles_->file.get(), to, nullptr, FILE_BEGIN)) {
        error_ = WriteError::Other;
        return false;
    }
    position_ = offset;
    return true;
}

WriteResult Replacement::commit() {
    Handles& h = *handles_;
    // Each step runs only when the one before went through.
    if (ask(WriteStep::Flush) && !FlushFileBuffers(h.file.get())) error_ = lastError();
    if (ask(WriteStep::Close) && !h.file.close()) error_ = lastError();
    if (ask(WriteStep::Replace)) error_ = replaceWithRetry(h.temp, h.target);
    if (error_ != WriteError::None) return {error_};
    h.guard.release();
    return {};
}

int removeLeftoverTemps(const std::string& linkPath) {
    if (linkPath.empty()) return 0;
    const std::string path = finalPath(linkPath);
    const std::size_t cut = nameStart(path);
    const std::string folder = path.substr(0, cut);
    const std::wstring prefix = widen("." + path.substr(cut) + ".tmp-");
    WIN32_FIND_DATAW data{};
    FindHandle find(FindFirstFileW(widen(folder + "." + path.substr(cut) + ".tmp-*").c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE) return 0;
    int removed = 0;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || !isOurTemp(data.cFileName, prefix)) continue;
        if (DeleteFileW((widen(folder) + data.cFileName).c_str())) ++removed;
    } while (FindNextFileW(find.get(), &data));
    return removed;
}

// The lock is a hidden file beside the target, opened for this program
// alone and deleted when closed: a second program's open fails with a
// sharing violation until the first closes it, and nothing stays behind.
ReplaceLock::ReplaceLock(const std::string& linkPath, std::chrono::milliseconds wait) {
    if (linkPath.empty()) return;
    const std::string path = finalPath(linkPath);
    const std::size_t cut = nameStart(path);
    const std::wstring lockPath = widen(path.substr(0, cut) + "." + path.substr(cut) + ".lock");
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const HANDLE h = CreateFileW(lockPath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                     FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            handle_ = reinterpret_cast<std::intptr_t>(h);
            held_ = true;
            return;
        }
        const DWORD error = GetLastError();
        // A lock that cannot be had for another reason (a read-only
        // folder) is no contention: the replace reports its own failure.
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) {
            held_ = true;
            return;
        }
        // Access denied for the whole wait is a folder we may not write
        // (a lock file being deleted passes in a moment): no contention.
        if (std::chrono::steady_clock::now() >= deadline) {
            held_ = error == ERROR_ACCESS_DENIED;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

ReplaceLock::~ReplaceLock() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

}  // namespace pallo::files
