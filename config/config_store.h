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

    // Creates or replaces the items in order (creating file and sections
    // when needed), exactly as single writes one after the other would, in
    // one atomic replace of the file: all or nothing. Items whose values
    // are already stored leave the file untouched; when all are, nothing is
    // written and the result is true. Returns false, leaving the file
    // exactly as it was, when any item cannot be written. With
    // Missing::Refuse a file that does not exist is not created: false.
    enum class Missing { Create, Refuse };
    bool writeGroup(const std::string& path, const std::vector<Item>& items, Missing missing = Missing::Create);

    // A group of one.
    bool write(const std::string& path, std::string_view section, std::string_view key, std::string_view value);

    Snapshot snapshot(const std::string& path);

    // Tests make any step of the atomic replace fail through this hook.
    void setFaultHook(files::FaultHook hook) { faultHook_ = std::move(hook); }

    // How many times a file was parsed (the cache is checked by size and
    // modification time before every read).
    std::uint64_t parseCount() const { return parses_; }

private:
    std::shared_ptr<const ParsedIni> load(const std::string& path);

    struct Cached {
        files::Stamp stamp;
        std::shared_ptr<const ParsedIni> ini;
    };
    std::map<std::string, Cached> cache_;
    files::FaultHook faultHook_;
    std::uint64_t parses_ = 0;
};

}  // namespace pallo
