// pallo-check: checks a content pack with the program's own rules, or exports it as a zip.
#include <string>
#include <vector>

#include "platform/console.h"
#include "tools/check/command.h"

namespace {

int checkMain(const std::vector<std::string>& args) {
    std::string out;
    std::string err;
    const int status = pallo::check::run(args, out, err);
    pallo::console::writeOut(out);
    pallo::console::writeErr(err);
    return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) { return checkMain(pallo::console::wideArguments(argc, argv)); }
#else
int main(int argc, char** argv) { return checkMain(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
