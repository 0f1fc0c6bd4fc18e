// Test support for bitmap packs: a folder beside the program for BMP files
// and packs, pack entries assembled by hand, and the count of slots in use.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "DrawFixture.h"

namespace drawtest {

// An entry of w x h pixels, all of one 15-bit value (or of `pixels` bytes).
inline std::string Entry(unsigned w, unsigned h, const std::string& name, int value = -1, std::string pixels = "") {
    for (unsigned i = 0; value >= 0 && i < w * h; ++i) pixels += {char(value & 0xFF), char(value >> 8)};
    return std::string{char(w & 0xFF), char(w >> 8), char(h & 0xFF), char(h >> 8)} + name + '\0' + pixels;
}

inline int SlotsInUse() {
    int n = 0;
    for (int i = 4; i < 1024; ++i) n += Sprite[i].FileName[0] != '\0';
    return n;
}

class BitmapPackTest : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        std::system(("rm -rf '" + dir_ + "' && mkdir -p '" + dir_ + "'").c_str());
        kaDraw::PackFileName[0] = '\0';
    }
    void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

    // Names relative to the program folder, as the framework takes them.
    std::string Rel(const std::string& name) const { return folder_ + "\\" + name; }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ + name, std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(dir_ + name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Converts the folder into p.pak and makes it the current pack.
    void ConvertAndUse(int Delete = 1) {
        kaDraw::Convert(Rel("p.pak").c_str(), folder_.c_str(), Delete);
        kaDraw::SetPack(Rel("p.pak").c_str());
    }
    void UsePack(const std::string& bytes) {
        Put("p.pak", bytes);
        kaDraw::SetPack(Rel("p.pak").c_str());
    }

    const std::string folder_ = "dpk" + std::to_string(getpid());
    const std::string dir_ = std::string(kaSystem::Directory(0)) + folder_ + "/";
};

}  // namespace drawtest
