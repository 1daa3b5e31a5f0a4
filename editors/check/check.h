// The pack checker (pallo-check, and the program before it exports a pack):
// reads a content pack (Cfg.ini and Img) the way the program
// does, with the program's own code, and reports what will not show, or
// will show differently from what its author likely meant.
#pragma once

#include <string>
#include <vector>

namespace pallo::check {

enum class Severity {
    Note,     // worth knowing; nothing is lost
    Warning,  // shows differently from what the author likely meant
    Error,    // will not show, or shows wrong
};

struct Finding {
    int line = 0;         // line in Cfg.ini, from 1; 0 when no line holds it
    std::string section;  // without brackets; empty for the file as a whole
    std::string key;      // empty for a whole section
    Severity severity = Severity::Error;
    std::string code;     // a stable name for the kind of finding
    std::string zh;       // what the program will do and how to fix it
    std::string en;
};

// How closely the checker looks at each picture.
enum class PictureCheck {
    // Decodes it with the program's decoder and times that (pallo-check).
    Decode,
    // Reads it whole and looks at its header and structure: its kind, its
    // size within the program's limits and its data not cut short; only a
    // picture that fails this, or is large, is decoded (the export: enough
    // to know the pack is whole, at about the cost of reading it).
    Header,
};

// Checks the pack in folder; findings in line order (file-wide ones first).
std::vector<Finding> checkPack(const std::string& folder, PictureCheck pictures = PictureCheck::Decode);

// One line: Cfg.ini:LINE: [SECTION] KEY: SEVERITY [CODE]: 中文 — English
std::string formatText(const Finding& finding);
// The closing line of the text report.
std::string formatSummary(const std::vector<Finding>& findings);
// An array of objects: line (null when none), section, key, severity, code,
// message_zh, message_en.
std::string formatJson(const std::vector<Finding>& findings);

// 0 when nothing but notes was found, 1 with warnings only, 2 with errors.
int exitStatus(const std::vector<Finding>& findings);

}  // namespace pallo::check
