// What an editor writes reads back exactly. Every value an editor writes is
// encoded here as the file will hold it, read back with the loaders' own
// rules and compared with what the user saw; a value that would read back
// as anything else is refused before anything is written. The writers
// collect their items in a WriteGroup, so none of them can skip the check,
// and write it with writeChecked, which also refuses a vanished Cfg.ini.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/config_store.h"
#include "model/tables.h"

namespace pallo {

// The boxes a refused value came from; each editor maps them to its own
// controls.
enum class WrittenField { Picture, Name, Description, Members, Directory, Title, MainPicture, Other };

// Why an editor's action was not done, as the user is told it: for a value
// the field's name and the reason, with the field at fault (Other when no
// box is). The caller decides whether and where to show it.
struct Refusal {
    WrittenField field = WrittenField::Other;
    std::string text;
    // Nothing was written because another program changed Cfg.ini since it
    // was read: the file has been taken in again, and the editors read it
    // anew (a second press then saves onto the new content).
    bool fileChanged = false;
};

// The four "|"-parts of a child or catalog entry as they should read back.
struct EntryParts {
    std::string picture;
    std::string name;
    std::string description;
    std::string members;
    // The member list the members text stands for; each of its non-blank
    // members must read back as one member of its own. Empty: the pieces
    // of members.
    std::vector<std::string> memberList;
};

// A value as written (UTF-8), or the reason it may not be.
struct Encoded {
    std::string value;
    std::optional<Refusal> refusal;
};

// picture|name|description|members. Refused when the loaders would read
// other parts back: a "|" inside a part, a value longer than the file can
// hold (the text gives the most characters the longest part could have),
// blanks, outer quotes, line breaks or other characters the file changes.
Encoded encodeEntry(const EntryParts& parts);

// A single value (a main node's key, a catalog's Name), refused when the
// loaders would not read it back as text.
Encoded encodeValue(std::string_view text, WrittenField field);

// The items one user action writes, each checked as it is added. Once one
// is refused, nothing of the group may be written.
class WriteGroup {
public:
    void addEntry(std::string section, std::string key, const EntryParts& parts);
    void addValue(std::string section, std::string key, std::string_view text, WrittenField field);
    // An emptied key (the one after the last entry moved up).
    void addEmpty(std::string section, std::string key);
    // A value moved to another key as the store read it: it reads back as
    // it did (a line the loader could not read keeps what it held).
    void addStored(std::string section, std::string key, std::string storedValue);

    const std::vector<ConfigStore::Item>& items() const { return items_; }
    const std::optional<Refusal>& refusal() const { return refusal_; }

private:
    void add(std::string section, std::string key, Encoded encoded);
    std::vector<ConfigStore::Item> items_;
    std::optional<Refusal> refusal_;
};

// "<path> 配置文件不存在，未保存任何更改。"
std::string missingFileMessage(const std::string& cfgPath);

// What the user is told when Cfg.ini was changed by another program.
extern const char* const kFileChangedMessage;

// Writes the group as one atomic replace of Cfg.ini, provided the file is
// still what the program last read or wrote (a file that was absent at
// start-up is created). Nothing when the file took it; otherwise why not:
// the group's refusal (with its field), the file changed outside (with
// fileChanged), the missing file, or, when the replace failed, the
// writer's own words (`failure`, its first line when it has many) and
// the cause.
std::optional<Refusal> writeOrRefuse(ConfigStore& store, const std::string& cfgPath, const WriteGroup& group,
                                     std::string failure);

}  // namespace pallo
