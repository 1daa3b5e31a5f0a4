// A pack as one zip a player unpacks anywhere: Cfg.ini without the
// window's place, exactly the pictures the pack shows, a short README.txt,
// and the program files. The checker runs first (see stopsExport); this
// writes the archive.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "editors/check/check.h"
#include "platform/files.h"

namespace pallo::check {

// A file of the program to put in the archive: its name there and its path.
struct ProgramFile {
    std::string name;
    std::string path;
};

// pallo.exe from exe, and pallo-check.exe when it lies beside it; nothing
// for an empty exe.
std::vector<ProgramFile> programFilesBeside(const std::string& exe);

struct ExportResult {
    bool written = false;
    int pictures = 0;  // pictures in the archive
    std::string zh;    // why nothing was written
    std::string en;
};

// Cfg.ini's bytes with the X and Y lines of [Config] left out (so the
// program starts at its default place), every other byte as it was.
std::string withoutWindowPlace(std::string cfgBytes);

// The archive's entry name of a picture path under Img ('/' between
// folders), or empty when a zip cannot hold it as a plain relative name.
std::string entryName(std::string_view relativePath, char separator);

// Errors stop an export; warnings and notes let the author go on.
bool stopsExport(const std::vector<Finding>& findings);

// The findings of one severity, a line each (Chinese, CR LF after each), at
// most maxLines, then how many more there are.
std::string listFindings(const std::vector<Finding>& findings, Severity severity, int maxLines);

// Writes the archive of the pack in folder to target: entries in name
// order, pictures stored, text deflated, all with fixed dates, so the same
// pack gives the same bytes. The archive goes to a temporary file beside
// target, then replaces it; on failure no file is left behind and target
// is as it was.
ExportResult exportPack(const std::string& folder, const std::string& target,
                        const std::vector<ProgramFile>& programs, const files::FaultHook& hook = {});

}  // namespace pallo::check
