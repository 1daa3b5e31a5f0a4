// Zip archives, made in memory. The one file that sees libzip: the rest of
// the program hands over names and bytes and gets the archive's bytes back.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pallo::zip {

struct Entry {
    std::string name;  // UTF-8, '/' between folders
    std::string bytes;
    bool deflate = true;  // false: stored as it is (pictures are compressed already)
};

// The archive of entries, in the given order. Every entry has the same
// date (1980-01-01 00:00) and attributes (a plain file, rw-r--r--), and a
// name that is not ASCII is flagged as UTF-8, so the same entries always
// give the same bytes. Nothing, with libzip's reason in error, when the
// archive cannot be made (a name it cannot hold, two entries of one name).
std::optional<std::string> build(const std::vector<Entry>& entries, std::string& error);

}  // namespace pallo::zip
