// The standard streams and arguments of a console program, as UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pallo::console {

// Writes UTF-8 text to standard output or standard error. A Windows console
// shows it as Unicode whatever its code page; redirected output gets the
// bytes unchanged.
void writeOut(std::string_view text);
void writeErr(std::string_view text);

// The arguments of a wide entry point (wmain) as UTF-8, without the
// program's name. Windows only.
std::vector<std::string> wideArguments(int argc, const wchar_t* const* argv);

}  // namespace pallo::console
