#include "platform/zip_writer.h"

#include <zip.h>

#include <memory>

namespace pallo::zip {

namespace {

// 1980-01-01 00:00:00, the earliest date a zip entry can hold.
constexpr zip_uint16_t kDosTime = 0;
constexpr zip_uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;
// A regular file, rw-r--r--, in the Unix form of the external attributes.
constexpr zip_uint32_t kAttributes = 0100644u << 16;

struct SourceFree {
    void operator()(zip_source_t* s) const { zip_source_free(s); }
};
struct ArchiveDiscard {
    void operator()(zip_t* z) const { zip_discard(z); }
};
using Source = std::unique_ptr<zip_source_t, SourceFree>;
using Archive = std::unique_ptr<zip_t, ArchiveDiscard>;

struct Error {
    zip_error_t e;
    Error() { zip_error_init(&e); }
    ~Error() { zip_error_fini(&e); }
    Error(const Error&) = delete;
    Error& operator=(const Error&) = delete;
    std::string text() { return zip_error_strerror(&e); }
};

bool addEntry(zip_t* archive, const Entry& entry, std::string& error) {
    // The bytes stay in entry until the archive is closed: libzip reads them then.
    zip_source_t* data = zip_source_buffer(archive, entry.bytes.data(), entry.bytes.size(), 0);
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

// The bytes libzip wrote into the buffer source.
std::optional<std::string> contents(zip_source_t* buffer, std::string& error) {
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(buffer, &st) != 0 || !(st.valid & ZIP_STAT_SIZE) || zip_source_open(buffer) != 0) {
        error = zip_error_strerror(zip_source_error(buffer));
        return std::nullopt;
    }
    std::string out(static_cast<std::size_t>(st.size), '\0');
    const zip_int64_t n = zip_source_read(buffer, out.data(), st.size);
    zip_source_close(buffer);
    if (n < 0 || static_cast<zip_uint64_t>(n) != st.size) {
        error = "reading the archive back failed";
        return std::nullopt;
    }
    return out;
}

}  // namespace

std::optional<std::string> build(const std::vector<Entry>& entries, std::string& error) {
    Error err;
    Source buffer(zip_source_buffer_create(nullptr, 0, 0, &err.e));
    if (!buffer) {
        error = err.text();
        return std::nullopt;
    }
    // The archive frees the source it was opened on; keep it for the bytes.
    zip_source_keep(buffer.get());
    Archive archive(zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &err.e));
    if (!archive) {
        zip_source_free(buffer.get());  // the reference zip_source_keep added
        error = err.text();
        return std::nullopt;
    }
    for (const Entry& entry : entries)
        if (!addEntry(archive.get(), entry, error)) return std::nullopt;
    if (zip_close(archive.get()) != 0) {
        error = zip_strerror(archive.get());
        return std::nullopt;
    }
    (void)archive.release();  // zip_close freed it
    return contents(buffer.get(), error);
}

}  // namespace pallo::zip
