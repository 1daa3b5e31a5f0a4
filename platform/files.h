// Files, real on both platforms: one implementation for POSIX (the native
// build and its tests) and one for Win32 with wide paths. Paths are UTF-8.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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
// Returns true to make the given step fail.
using FaultHook = std::function<bool(WriteStep)>;

// Writes bytes to a temporary file in the same folder, flushes it, and
// renames it over path (retrying briefly while another program holds the
// file). On failure returns false, leaves path exactly as it was and leaves
// no temporary file behind.
bool writeReplace(const std::string& path, std::string_view bytes, const FaultHook& hook = {});

}  // namespace pallo::files
