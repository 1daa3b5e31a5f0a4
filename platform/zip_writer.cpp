#include "platform/zip_writer.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <optional>

namespace pallo::zip {

namespace {

// 1980-01-01 00:00:00, the earliest date a zip entry can hold.
constexpr zip_uint16_t kDosTime = 0;
constexpr zip_uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;
// A regular file, rw-r--r--, in the Unix form of the external attributes.
constexpr zip_uint32_t kAttributes = 0100644u << 16;

struct ArchiveDiscard {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using Archive = std::unique_ptr<zip_t, ArchiveDiscard>;

struct Error {
    zip_error_t e;
    Error() { zip_error_init(&e); }
    ~Error() { zip_error_fini(&e); }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    std::string text() { return zip_error_strerror(&e); }
};

// ------------------------------------------------------------------ the archive's file
//
// libzip writes the archive through this source into the replacement: from
// the start, going back only to fill in each entry's local header. There is
// no archive to read: the file is new.
struct Sink {
    files::Replacement& out;
    Error error;
};

zip_int64_t failed(Error& error, int code, int systemCode = 0) {
    zip_error_set(&error.e, code, systemCode);
    return -1;
}

zip_int64_t seekTo(Sink& sink, void* data, zip_uint64_t length) {
    auto* args = ZIP_SOURCE_GET_ARGS(zip_source_args_seek_t, data, length, &sink.error.e);
    if (!args) return -1;
    const auto base = args->whence == SEEK_CUR   ? static_cast<zip_int64_t>(sink.out.position())
                      : args->whence == SEEK_END ? static_cast<zip_int64_t>(sink.out.size())
                                                 : zip_int64_t{0};
    const zip_int64_t to = base + args->offset;
    if (to < 0 || !sink.out.seek(static_cast<std::uint64_t>(to))) return failed(sink.error, ZIP_ER_SEEK);
    return 0;
}

zip_int64_t sinkCommand(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    Sink& sink = *static_cast<Sink*>(state);
    switch (command) {
        case ZIP_SOURCE_STAT: return failed(sink.error, ZIP_ER_READ, ENOENT);  // a new archive
        case ZIP_SOURCE_BEGIN_WRITE:
            return sink.out.error() == files::WriteError::None ? 0 : failed(sink.error, ZIP_ER_OPEN);
        case ZIP_SOURCE_WRITE:
            if (!sink.out.write(std::string_view(static_cast<const char*>(data), length)))
                return failed(sink.error, ZIP_ER_WRITE);
            return static_cast<zip_int64_t>(length);
        case ZIP_SOURCE_SEEK_WRITE: return seekTo(sink, data, length);
        case ZIP_SOURCE_TELL_WRITE: return static_cast<zip_int64_t>(sink.out.position());
        // The caller commits the replacement, or its destructor removes it.
        case ZIP_SOURCE_COMMIT_WRITE:
        case ZIP_SOURCE_ROLLBACK_WRITE:
        case ZIP_SOURCE_REMOVE:
        case ZIP_SOURCE_FREE: return 0;
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&sink.error.e, data, length);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE,
                ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_WRITE, ZIP_SOURCE_SEEK_WRITE,
                ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE, -1);
        default: return failed(sink.error, ZIP_ER_OPNOTSUPP);
    }
}

// ------------------------------------------------------------------ an entry's file
//
// libzip opens an entry's source as it writes that entry and closes it
// after: the file is read whole at the opening and let go at the closing,
// so memory holds one at a time. Read through the file layer (wide paths
// on Windows).
struct FileSource {
    const Entry* entry;
    std::string bytes;
    std::size_t at = 0;
    bool unreadable = false;
    Error error;
};

zip_int64_t fileOpen(FileSource& file) {
    std::optional<std::string> bytes = files::readAll(file.entry->path);
    if (!bytes) {
        file.unreadable = true;
        return failed(file.error, ZIP_ER_READ, ENOENT);
    }
    file.bytes = std::move(*bytes);
    file.at = 0;
    return 0;
}

zip_int64_t fileRead(FileSource& file, void* data, zip_uint64_t length) {
    const std::size_t n = std::min<std::size_t>(length, file.bytes.size() - file.at);
    std::memcpy(data, file.bytes.data() + file.at, n);
    file.at += n;
    return static_cast<zip_int64_t>(n);
}

zip_int64_t fileStat(FileSource& file, void* data, zip_uint64_t length) {
    auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &file.error.e);
    if (!st) return -1;
    zip_stat_init(st);
    // The size up front keeps the entry's header free of zip64 fields.
    if (const std::optional<files::Stamp> stamp = files::stamp(file.entry->path)) {
        st->size = stamp->size;
        st->valid |= ZIP_STAT_SIZE;
    }
    return sizeof(zip_stat_t);
}

zip_int64_t fileCommand(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    FileSource& file = *static_cast<FileSource*>(state);
    switch (command) {
        case ZIP_SOURCE_OPEN: return fileOpen(file);
        case ZIP_SOURCE_READ: return fileRead(file, data, length);
        case ZIP_SOURCE_CLOSE:
            std::string().swap(file.bytes);  // its memory goes (an assignment would keep it)
            file.at = 0;
            return 0;
        case ZIP_SOURCE_STAT: return fileStat(file, data, length);
        case ZIP_SOURCE_ERROR: return zip_error_to_data(&file.error.e, data, length);
        case ZIP_SOURCE_FREE: return 0;
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                  ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
        default: return failed(file.error, ZIP_ER_OPNOTSUPP);
    }
}

// ------------------------------------------------------------------ entries

bool addEntry(zip_t* archive, const Entry& entry, std::deque<FileSource>& files, std::string& error) {
    // The bytes stay in entry (or the file on disk) until the archive is closed: libzip reads them then.
    zip_source_t* data = nullptr;
    if (entry.path.empty()) {
        data = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
    } else {
        FileSource& file = files.emplace_back();
        file.entry = &entry;
        data = zip_source_function(archive, fileCommand, &file);
    }
    const zip_int64_t index =
        data ? zip_file_add(archive, entry.name.c_str(), data, ZIP_FL_ENC_UTF_8) : zip_int64_t{-1};
    if (index < 0) {
        if (data) zip_source_free(data);
        error = entry.name + ": " + zip_strerror(archive);
        return false;
    }
    const auto i = static_cast<zip_uint64_t>(index);
    const bool ok = zip_set_file_compression(archive, i, entry.deflate ? ZIP_CM_DEFLATE : ZIP_CM_STORE,
                                             entry.deflate ? 9 : 0) == 0 &&
                    zip_file_set_dostime(archive, i, kDosTime, kDosDate, 0) == 0 &&
                    zip_file_set_external_attributes(archive, i, 0, ZIP_OPSYS_UNIX, kAttributes) == 0;
    if (!ok) error = entry.name + ": " + zip_strerror(archive);
    return ok;
}

}  // namespace

Result write(const std::vector<Entry>& entries, files::Replacement& out) {
    Result result;
    Sink sink{out, {}};
    // The file sources outlive the archive, which calls them until it is closed or discarded.
    std::deque<FileSource> files;
    Error err;
    zip_source_t* file = zip_source_function_create(sinkCommand, &sink, &err.e);
    Archive archive(file ? zip_open_from_source(file, ZIP_CREATE | ZIP_TRUNCATE, &err.e) : nullptr);
    if (!archive) {
        if (file) zip_source_free(file);
        result.error = err.text();
        return result;
    }
    for (const Entry& entry : entries)
        if (!addEntry(archive.get(), entry, files, result.error)) return result;
    if (zip_close(archive.get()) != 0) {
        result.error = zip_strerror(archive.get());
        const auto bad = std::find_if(files.begin(), files.end(), [](const FileSource& f) { return f.unreadable; });
        if (bad != files.end()) result.unreadable = bad->entry;
        return result;
    }
    (void)archive.release();  // zip_close freed it
    result.written = true;
    return result;
}

}  // namespace pallo::zip
