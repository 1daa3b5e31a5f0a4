// Files, real on both platforms: one implementation for POSIX (the native
// build and its tests) and one for Win32 with wide paths. Paths are UTF-8.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace pallo::files {

// '\\' on Windows, '/' elsewhere.
char separator();

bool exists(const std::string& path);
bool isDirectory(const std::string& path);

// Names of the sub-directories of dir (no "." or ".."), in the order the
// system lists them. Empty when dir cannot be read.
std::vector<std::string> listSubdirectories(const std::string& dir);

// The whole content, or nothing when the file cannot be read.
std::optional<std::string> readAll(const std::string& path);

struct Stamp {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;  // modification time, nanoseconds
    friend bool operator==(const Stamp&, const Stamp&) = default;
};
std::optional<Stamp> stamp(const std::string& path);

// The read-only state of the file itself: the read-only attribute on
// Windows; on POSIX no write permission for the file's owner (so root, who
// could write anyway, still sees a read-only file as read-only).
bool isReadOnly(const std::string& path);

// The steps of an atomic replace, in order; a fault hook can make any fail.
enum class WriteStep { CreateTemp, Write, Flush, Close, Replace };
const char* writeStepName(WriteStep step);

// Why a write did not go through, in the terms a player can act on.
enum class WriteError { None, DiskFull, AccessDenied, InUse, Other };

// A test's hook into the replace: called before each step, it names the
// failure that step is to have (WriteError::None lets it run). A hook that
// answers true or false makes the step fail with WriteError::Other.
class FaultHook {
public:
    FaultHook() = default;
    template <class F>
        requires std::is_invocable_v<F&, WriteStep>
    FaultHook(F f) {  // NOLINT(google-explicit-constructor): a lambda is the hook
        if constexpr (std::is_same_v<std::invoke_result_t<F&, WriteStep>, bool>) {
            fn_ = [f = std::move(f)](WriteStep step) mutable { return f(step) ? WriteError::Other : WriteError::None; };
        } else {
            fn_ = std::move(f);
        }
    }
    explicit operator bool() const { return static_cast<bool>(fn_); }
    WriteError operator()(WriteStep step) const { return fn_ ? fn_(step) : WriteError::None; }

private:
    std::function<WriteError(WriteStep)> fn_;
};

// The outcome of a replace: true when written, otherwise why not.
struct WriteResult {
    WriteError error = WriteError::None;
    explicit operator bool() const { return error == WriteError::None; }
};

// A replace written piece by piece, for content too large to hold in
// memory: the temporary file is made beside path at construction (its
// permissions those of the file it replaces), write and seek fill it (a
// writer may go back to fill in a header), and commit flushes, closes and
// renames it over path, as writeReplace does. Without a commit that went
// through, the destructor removes the temporary file and path stays as it
// was. The hook is asked before each step, write included; after a failed
// step every later one fails too, with the first one's error.
class Replacement {
public:
    explicit Replacement(const std::string& path, FaultHook hook = {});
    ~Replacement();
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

    bool write(std::string_view bytes);
    // To an offset from the start, at most the size written so far.
    bool seek(std::uint64_t offset);
    std::uint64_t position() const { return position_; }
    std::uint64_t size() const { return size_; }
    WriteError error() const { return error_; }
    WriteResult commit();

private:
    struct Handles;  // the system's side: the open temporary file
    // Runs the hook for a step unless an earlier one failed; false when
    // the step is not to run.
    bool ask(WriteStep step);
    // Writes bytes at the position to the temporary file; on failure keeps
    // the cause in error_ (each system's own part).
    bool writeHere(std::string_view bytes);

    std::unique_ptr<Handles> handles_;
    FaultHook hook_;
    WriteError error_ = WriteError::None;
    std::uint64_t position_ = 0;
    std::uint64_t size_ = 0;
};

// Writes bytes to a temporary file in the same folder, flushes it, and
// renames it over path (retrying briefly while another program holds the
// file). A path that is a symbolic link is written through: the link stays
// and its target gets the new bytes. On failure leaves path exactly as it
// was, leaves no temporary file behind, and says why.
WriteResult writeReplace(const std::string& path, std::string_view bytes, const FaultHook& hook = {});

// The file a path finally names: the target of a symbolic link (or of a
// chain of them, or a junction on Windows); the path itself otherwise.
std::string finalPath(const std::string& path);

// Whether two paths name one existing file, however they are written
// (relative or absolute, letter case on Windows, through links). False when
// either does not exist.
bool sameFile(const std::string& a, const std::string& b);

// Removes the temporary files a replace of path left behind when its
// program was killed mid-write (only files named as writeReplace names
// them). Returns how many were removed.
int removeLeftoverTemps(const std::string& path);

// Held around a check of a file and the replace that follows, so that two
// programs writing the same file take turns. Waits up to `wait` for the
// other; held() is false when it could not be had (the caller then reports
// the file as in use).
class ReplaceLock {
public:
    explicit ReplaceLock(const std::string& path, std::chrono::milliseconds wait = std::chrono::seconds(3));
    ~ReplaceLock();
    ReplaceLock(const ReplaceLock&) = delete;
    ReplaceLock& operator=(const ReplaceLock&) = delete;
    bool held() const { return held_; }

private:
    std::intptr_t handle_ = -1;
    bool held_ = false;
};

}  // namespace pallo::files
