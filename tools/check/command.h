// pallo-check's command line: check a pack, or export it as a zip.
#pragma once

#include <string>
#include <vector>

#include "editors/check/check.h"

namespace pallo::check {

// The whole command: args without the program's name. out and err receive
// UTF-8 text; the result is the exit status (3 for a wrong command line).
int run(const std::vector<std::string>& args, std::string& out, std::string& err);

}  // namespace pallo::check
