// A temporary directory that removes itself, and small file helpers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pallo::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + separator + name
    std::string file(std::string_view name) const;

private:
    std::string path_;
};

// Writes bytes to path, creating parent directories.
void writeFile(const std::string& path, std::string_view bytes);
// The whole file; empty when missing.
std::string readFile(const std::string& path);
void makeDirs(const std::string& path);
// Names of the entries in dir.
std::vector<std::string> listDir(const std::string& dir);

}  // namespace pallo::testing
