#include "config/config_store.h"

#include "config/ini.h"

namespace pallo {

struct ParsedIni {
    ini::Document doc;
};

namespace {

std::string cleanPath(const std::string& path) { return std::string(ini::skipLeadingControls(path)); }

}  // namespace

std::string ConfigStore::Snapshot::read(std::string_view section, std::string_view key,
                                        std::string_view fallback) const {
    const std::string_view s = ini::cleanName(section);
    const std::string_view k = ini::cleanName(key);
    if (emptyPath_ || s.empty() || k.empty()) return {};
    if (!ini_) return std::string(fallback);
    if (auto value = ini::find(ini_->doc, s, k)) return std::move(*value);
    return std::string(fallback);
}

std::string ConfigStore::read(const std::string& path, std::string_view section, std::string_view key,
                              std::string_view fallback) {
    return snapshot(path).read(section, key, fallback);
}

ConfigStore::Snapshot ConfigStore::snapshot(const std::string& path) {
    Snapshot snap;
    const std::string p = cleanPath(path);
    if (p.empty()) {
        snap.emptyPath_ = true;
        return snap;
    }
    snap.ini_ = load(p);
    return snap;
}

std::shared_ptr<const ParsedIni> ConfigStore::load(const std::string& path) {
    const std::optional<files::Stamp> before = files::stamp(path);
    if (!before) {
        cache_.erase(path);
        return nullptr;
    }
    if (const auto it = cache_.find(path); it != cache_.end() && it->second.stamp == before) return it->second.ini;
    std::optional<std::string> bytes = files::readAll(path);
    if (!bytes) {
        cache_.erase(path);
        return nullptr;
    }
    auto ini = std::make_shared<const ParsedIni>(ParsedIni{ini::parse(std::move(*bytes))});
    ++parses_;
    // Kept with the stamp taken before reading: a change made while we read
    // shows as a different stamp next time and is parsed then.
    cache_[path] = Cached{*before, ini};
    return ini;
}

bool ConfigStore::write(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    return writeGroup(path, {Item{std::string(section), std::string(key), std::string(value)}});
}

bool ConfigStore::writeGroup(const std::string& path, const std::vector<Item>& items, Missing missing) {
    const std::string p = cleanPath(path);
    if (p.empty()) return false;
    const std::shared_ptr<const ParsedIni> current = load(p);
    // A file that is there but cannot be read (a folder, no permission) is
    // never replaced by a new file.
    if (!current && (missing == Missing::Refuse || files::exists(p))) return false;
    const ini::Document none;
    const ini::Document& doc = current ? current->doc : none;

    std::vector<std::string> values;
    values.reserve(items.size());
    for (const Item& item : items) {
        const std::string_view s = ini::cleanName(item.section);
        const std::string_view k = ini::cleanName(item.key);
        if (s.empty() || k.empty() || !ini::isWritableSection(s, doc.encoding) || !ini::isWritableKey(k, doc.encoding)) {
            return false;
        }
        values.push_back(ini::normaliseValue(item.value, doc.encoding));
    }
    std::vector<ini::Edit> edits;
    edits.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        edits.push_back({ini::cleanName(items[i].section), ini::cleanName(items[i].key), values[i]});
    }

    std::optional<std::string> bytes = ini::applyEdits(doc, edits);
    // The equality check comes before the read-only one: an unchanged
    // group is not a write.
    if (!bytes) return true;
    if (current && files::isReadOnly(p)) return false;
    if (!files::writeReplace(p, *bytes, faultHook_)) return false;

    // The new content is known: cache it, so the next read sees it even when
    // the clock's granularity leaves size and time looking unchanged.
    const std::optional<files::Stamp> after = files::stamp(p);
    if (!after) {
        cache_.erase(p);
        return true;
    }
    auto ini = std::make_shared<const ParsedIni>(ParsedIni{ini::parse(std::move(*bytes))});
    ++parses_;
    cache_[p] = Cached{*after, std::move(ini)};
    return true;
}

}  // namespace pallo
