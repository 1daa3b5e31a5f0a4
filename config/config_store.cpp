#include "config/config_store.h"

#include "config/ini.h"

namespace pallo {

struct ParsedIni {
    ini::Document doc;
    std::string bytes;  // what doc was parsed from
};

namespace {

std::string cleanPath(const std::string& path) { return std::string(ini::skipLeadingControls(path)); }

std::shared_ptr<const ParsedIni> parsed(std::string bytes) {
    ini::Document doc = ini::parse(std::string(bytes));
    return std::make_shared<const ParsedIni>(ParsedIni{std::move(doc), std::move(bytes)});
}

ConfigStore::Refusal refusalOf(files::WriteError error) {
    using R = ConfigStore::Refusal;
    switch (error) {
        case files::WriteError::None: return R::None;
        case files::WriteError::DiskFull: return R::DiskFull;
        case files::WriteError::AccessDenied: return R::AccessDenied;
        case files::WriteError::InUse: return R::InUse;
        case files::WriteError::Other: return R::Failed;
    }
    return R::Failed;
}

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
        baseline_.try_emplace(path, std::nullopt);
        return nullptr;
    }
    if (const auto it = cache_.find(path); it != cache_.end() && it->second.stamp == before) return it->second.ini;
    std::optional<std::string> bytes = files::readAll(path);
    if (!bytes) {
        cache_.erase(path);
        return nullptr;
    }
    auto ini = parsed(std::move(*bytes));
    ++parses_;
    baseline_.try_emplace(path, ini->bytes);
    // Kept with the stamp taken before reading: a change made while we read
    // shows as a different stamp next time and is parsed then.
    cache_[path] = Cached{*before, ini};
    return ini;
}

std::optional<std::string> ConfigStore::readNow(const std::string& path, bool& unreadable) {
    unreadable = false;
    if (!files::exists(path)) return std::nullopt;
    std::optional<std::string> bytes = files::readAll(path);
    unreadable = !bytes;
    return bytes;
}

ConfigStore::Outcome ConfigStore::checkBaseline(const std::string& path, const std::optional<std::string>& now,
                                                bool unreadable) {
    if (unreadable) return {Refusal::AccessDenied};
    const auto it = baseline_.find(path);
    if (it == baseline_.end() || it->second == now) return {};
    // A file that was there and is gone stays refused: it is never made
    // again from what the program read before.
    if (it->second && !now) return {Refusal::Missing};
    // The baseline stays until the program has read the file again
    // (adopt): until then every checked write is refused.
    return {Refusal::Changed};
}

void ConfigStore::remember(const std::string& path, std::string bytes) {
    // The new content is known: cache it, so the next read sees it even when
    // the clock's granularity leaves size and time looking unchanged.
    const std::optional<files::Stamp> after = files::stamp(path);
    baseline_[path] = bytes;
    if (!after) {
        cache_.erase(path);
        return;
    }
    cache_[path] = Cached{*after, parsed(std::move(bytes))};
    ++parses_;
}

void ConfigStore::adopt(const std::string& path) {
    const std::string p = cleanPath(path);
    if (p.empty()) return;
    const std::shared_ptr<const ParsedIni> ini = load(p);
    if (ini || !files::exists(p)) baseline_[p] = ini ? std::optional(ini->bytes) : std::nullopt;
}

ConfigStore::Outcome ConfigStore::write(const std::string& path, std::string_view section, std::string_view key,
                                        std::string_view value) {
    return writeGroup(path, {Item{std::string(section), std::string(key), std::string(value)}});
}

ConfigStore::Outcome ConfigStore::writeGroup(const std::string& path, const std::vector<Item>& items,
                                             Missing missing, Since since) {
    const std::string p = cleanPath(path);
    if (p.empty()) return {Refusal::BadItem};
    std::optional<files::ReplaceLock> lock;
    std::shared_ptr<const ParsedIni> current;
    std::optional<std::optional<std::string>> staleBaseline;
    if (since == Since::Read) {
        lock.emplace(p);
        if (!lock->held()) return {Refusal::InUse};
        bool unreadable = false;
        std::optional<std::string> now = readNow(p, unreadable);
        if (const Outcome checked = checkBaseline(p, now, unreadable); !checked) {
            // What was read here is what the program reads next, even when
            // the change left size and time looking as they were.
            const std::optional<files::Stamp> stamp = files::stamp(p);
            if (checked.refusal == Refusal::Changed && now && stamp) {
                cache_[p] = Cached{*stamp, parsed(std::move(*now))};
                ++parses_;
            }
            return checked;
        }
        if (now) current = parsed(std::move(*now));
    } else {
        current = load(p);
        const auto it = baseline_.find(p);
        if (it != baseline_.end() && it->second != (current ? std::optional(current->bytes) : std::nullopt)) {
            staleBaseline = it->second;
        }
    }
    // A file that is there but cannot be read (a folder, no permission) is
    // never replaced by a new file.
    if (!current && files::exists(p)) return {Refusal::AccessDenied};
    if (!current && missing == Missing::Refuse) return {Refusal::Missing};
    const Outcome written = replace(p, current, items);
    // A write of the program's own that went onto a file changed outside
    // leaves the baseline as it was, so the next checked write still sees
    // the change.
    if (written && staleBaseline) baseline_[p] = std::move(*staleBaseline);
    return written;
}

ConfigStore::Outcome ConfigStore::replace(const std::string& p, const std::shared_ptr<const ParsedIni>& current,
                                          const std::vector<Item>& items) {
    const ini::Document none;
    const ini::Document& doc = current ? current->doc : none;
    std::vector<std::string> values;
    values.reserve(items.size());
    for (const Item& item : items) {
        const std::string_view s = ini::cleanName(item.section);
        const std::string_view k = ini::cleanName(item.key);
        if (s.empty() || k.empty() || !ini::isWritableSection(s, doc.encoding) || !ini::isWritableKey(k, doc.encoding)) {
            return {Refusal::BadItem};
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
    if (!bytes) return {};
    if (current && files::isReadOnly(p)) return {Refusal::ReadOnly};
    if (const files::WriteResult result = files::writeReplace(p, *bytes, faultHook_); !result) {
        return {refusalOf(result.error)};
    }
    remember(p, std::move(*bytes));
    return {};
}

}  // namespace pallo
