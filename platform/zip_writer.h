// Zip archives, written as they are made. The one file that sees libzip:
// the rest of the program hands over names, bytes or files, and a
// replacement to write into.
#pragma once

#include <string>
#include <vector>

#include "platform/files.h"

namespace pallo::zip {

struct Entry {
    std::string name;  // UTF-8, '/' between folders
    std::string bytes;  // the content, when path is empty
    std::string path;   // otherwise the file holding it, read only while the archive is written
    bool deflate = true;  // false: stored as it is (pictures are compressed already)
};

struct Result {
    bool written = false;
    const Entry* unreadable = nullptr;  // the entry whose file could not be read
    std::string error;       // libzip's reason, for any other failure
};

// Writes the archive of entries, in the given order, into out, which the
// caller then commits (or not: a failed out's error() says why it failed).
// The files are read one at a time, so memory holds about one entry. Every
// entry has the same date (1980-01-01 00:00) and attributes (a plain file,
// rw-r--r--), and a name that is not ASCII is flagged as UTF-8, so the same
// entries always give the same bytes.
Result write(const std::vector<Entry>& entries, files::Replacement& out);

}  // namespace pallo::zip
