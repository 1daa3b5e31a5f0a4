// Our own INI reader and writer, the same code on every platform. Reading
// keeps the rules of the Windows profile functions that existing files rely
// on; writing changes only the bytes of the item written and replaces the
// file atomically.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/value_limit.h"
#include "platform/files.h"

namespace pallo {

// A parsed Cfg.ini (opaque to callers).
struct ParsedIni;

class ConfigStore {
public:
    // One parsed state of a file, taken once and read many times (the
    // loaders read hundreds of items from one snapshot).
    class Snapshot {
    public:
        std::string read(std::string_view section, std::string_view key, std::string_view fallback) const;

    private:
        friend class ConfigStore;
        std::shared_ptr<const ParsedIni> ini_;  // null when the file does not exist
        bool emptyPath_ = false;                // every read gives the empty text
    };

    // The value of key in section, or fallback when the file, section or
    // key does not exist. After skipping leading bytes <= 32 of path,
    // section and key, an empty one gives the empty text.
    std::string read(const std::string& path, std::string_view section, std::string_view key,
                     std::string_view fallback);

    struct Item {
        std::string section, key, value;
    };

    // Why a write was refused or failed; None when it went through.
    enum class Refusal {
        None,
        Missing,        // the file is gone (and was there when last read)
        Changed,        // another program changed the file since it was read
        ReadOnly,       // the file is read-only
        BadItem,        // a section, key or path the file cannot hold
        DiskFull,
        AccessDenied,
        InUse,          // another program holds the file
        Failed,         // the replace failed for another reason
    };
    struct Outcome {
        Refusal refusal = Refusal::None;
        explicit operator bool() const { return refusal == Refusal::None; }
    };

    // Creates or replaces the items in order (creating file and sections
    // when needed), exactly as single writes one after the other would, in
    // one atomic replace of the file: all or nothing. Items whose values
    // are already stored leave the file untouched; when all are, nothing is
    // written and the result is true. Otherwise leaves the file exactly as
    // it was and says why. With Missing::Refuse a file that does not exist
    // is not created.
    //
    // With Since::Read the group is written only when the file is still,
    // byte for byte, what this store last read or wrote as the program's
    // view of it (its baseline): a file another program changed, replaced,
    // created or removed meanwhile is refused (Changed, or Missing for a
    // file that was there) until the program has read it again (adopt), so
    // that a second try writes onto the new content. A
    // file that was absent when first read may then be created. The check
    // and the replace hold the file's ReplaceLock, so a second program
    // writing the same file waits its turn.
    enum class Missing { Create, Refuse };
    enum class Since { Anything, Read };
    Outcome writeGroup(const std::string& path, const std::vector<Item>& items, Missing missing = Missing::Create,
                       Since since = Since::Anything);

    // The program reads the file again as it is now (after a Changed
    // refusal): the baseline becomes what the next reads of it give.
    void adopt(const std::string& path);

    // A group of one.
    Outcome write(const std::string& path, std::string_view section, std::string_view key, std::string_view value);

    Snapshot snapshot(const std::string& path);

    // Tests make any step of the atomic replace fail through this hook.
    void setFaultHook(files::FaultHook hook) { faultHook_ = std::move(hook); }

    // How many times a file was parsed (the cache is checked by size and
    // modification time before every read).
    std::uint64_t parseCount() const { return parses_; }

private:
    std::shared_ptr<const ParsedIni> load(const std::string& path);
    // The file's bytes now, read past the cache; nullopt when it is absent.
    std::optional<std::string> readNow(const std::string& path, bool& unreadable);
    Outcome checkBaseline(const std::string& path, const std::optional<std::string>& now, bool unreadable);
    Outcome replace(const std::string& path, const std::shared_ptr<const ParsedIni>& current,
                    const std::vector<Item>& items);
    void remember(const std::string& path, std::string bytes);

    struct Cached {
        files::Stamp stamp;
        std::shared_ptr<const ParsedIni> ini;
    };
    std::map<std::string, Cached> cache_;
    // The program's view of each file: the bytes first read or last
    // written by this store (nullopt: the file was absent).
    std::map<std::string, std::optional<std::string>> baseline_;
    files::FaultHook faultHook_;
    std::uint64_t parses_ = 0;
};

}  // namespace pallo
