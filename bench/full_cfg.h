// A full content pack for the benchmarks: ten main nodes of 99 children
// each and two full catalogs, about 100 KB of mixed Chinese and ASCII text.
#pragma once

#include <string>

#include "model/tables.h"

namespace pallo::bench {

// One child or catalog value of about 100 bytes.
inline std::string entry(int section, int key) {
    // Built by appending: gcc 12 warns falsely (-Wrestrict) on "literal" + std::string&&.
    const std::string n = std::to_string(key);
    std::string v = "c";
    v += std::to_string(section);
    v += "_" + n + ".png|烈焰之剑 " + n + "|攻击力+" + n;
    v += "#附带火焰伤害，持续3秒；对 Boss 有效|1,";
    v += std::to_string(key % 7 + 2);
    v += ",";
    v += n;
    return v;
}

// The whole file.
inline std::string fullCfg() {
    std::string text = "[Config]\r\nX=300\r\nY=200\r\nW=70\r\nH=70\r\nT=1\r\nS=180\r\n";
    for (int i = 1; i <= pallo::kMainNodeCount; ++i) {
        const std::string s = std::to_string(i);
        text += "[" + s + "]\r\nName=节点" + s + "\r\nTitle=主节点 " + s + "\r\nIn=" + (i % 2 ? "Item" : "Hero") +
                "\r\nLink=" + std::to_string(i % 3) + "\r\nShow=1\r\nPic=menu" + s + ".png\r\n";
        for (int k = 1; k <= pallo::kMaxEntries; ++k) text += std::to_string(k) + "=" + entry(i, k) + "\r\n";
    }
    for (const char* section : {"Item", "Hero"}) {
        text += std::string("[") + section + "]\r\nName=" + section + "\r\n";
        for (int k = 1; k <= pallo::kMaxEntries; ++k) text += std::to_string(k) + "=" + entry(0, k) + "\r\n";
    }
    return text;
}

}  // namespace pallo::bench
