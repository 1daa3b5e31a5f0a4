// The [Config] keys: which the program reads, and what it makes of their
// values, both from the settings table.
#include <climits>

#include "editors/check/checker.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace pallo::check {

bool knownConfigKey(std::string_view key) { return findConfigKey(key) != nullptr; }

// The window settings out of range, and a Hotkey the program cannot use.
void Checker::checkWindowSettings() {
    if (!section(kConfigSection)) return;
    // The monitors are the user's: only the limits that hold on any
    // primary screen are checked here.
    const WindowSettings used = readWindowSettings(ini_, {platform::Monitor{0, 0, INT_MAX, INT_MAX, true}});
    for (const ConfigKey& k : kConfigKeys) {
        const ini::Entry* e = entry(kConfigSection, k.key);
        if (!e || !e->hasValue) continue;
        const std::optional<ConfigFinding> f = judgeConfigValue(k, ini_.read(kConfigSection, k.key, ""), used);
        if (f) {
            add(lineAt(e->keyBegin), kConfigSection, k.key, f->error ? Severity::Error : Severity::Warning, f->code,
                f->zh, f->en);
        }
    }
}

}  // namespace pallo::check
