// Writes a full content pack into a folder: the Cfg.ini of full_cfg.h (ten
// main nodes of 99 children, two catalogs of 99 entries) and every picture it
// names, 316 x 316 menu pictures and 256 x 256 entry pictures. The Wine
// latency script measures the program on it; with SIDE every picture is
// SIDE x SIDE instead (tests that need the pack's shape, not its weight).
//
//   make_full_pack FOLDER [SIDE]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "full_cfg.h"
#include "platform/files.h"
#include "support/temp_dir.h"
#include "tile_png.h"

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_full_pack FOLDER [SIDE]\n");
        return 2;
    }
    using pallo::bench::tilePng;
    using pallo::testing::writeFile;
    const std::string sep(1, pallo::files::separator());
    const std::string img = std::string(argv[1]) + sep + "Img" + sep;
    const int side = argc == 3 ? std::atoi(argv[2]) : 0;
    const int menuSide = side > 0 ? side : 316;
    const int entrySide = side > 0 ? side : 256;

    writeFile(std::string(argv[1]) + sep + "Cfg.ini", pallo::bench::fullCfg());
    int seed = 0;
    for (int i = 1; i <= pallo::kMainNodeCount; ++i) {
        const std::string s = std::to_string(i);
        writeFile(img + "Menu" + sep + "menu" + s + ".png", tilePng(menuSide, ++seed));
        const std::string folder = img + "节点" + s + sep;
        for (int k = 1; k <= pallo::kMaxEntries; ++k)
            writeFile(folder + "c" + s + "_" + std::to_string(k) + ".png", tilePng(entrySide, ++seed));
        // A direct-reference node shows catalog entry 1 in place of its
        // children, with the picture taken from the node's own folder.
        writeFile(folder + "c0_1.png", tilePng(entrySide, ++seed));
    }
    for (const char* catalog : {"Item", "Hero"})
        for (int k = 1; k <= pallo::kMaxEntries; ++k)
            writeFile(img + catalog + sep + "c0_" + std::to_string(k) + ".png", tilePng(entrySide, ++seed));
    return 0;
}
