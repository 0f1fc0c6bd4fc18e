// Test support for bitmap packs: a folder of BMP files beside the program,
// pack bytes assembled by hand, and counting the slots in use.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "DrawFixture.h"

namespace drawtest {

inline std::string PackEntryBytes(unsigned w, unsigned h, const std::string& name, const std::string& pixels) {
    std::string b;
    for (unsigned v : {w, h}) b += static_cast<char>(v & 0xFF), b += static_cast<char>(v >> 8);
    return b + name + std::string(1, '\0') + pixels;
}

// w x h pixels of one 15-bit value.
inline std::string Pixels15(unsigned w, unsigned h, uint16_t value) {
    std::string b;
    for (unsigned i = 0; i < w * h; ++i) b += static_cast<char>(value & 0xFF), b += static_cast<char>(value >> 8);
    return b;
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
        folder_ = "dpk" + std::to_string(getpid());
        dir_ = std::string(kaSystem::Directory(0)) + folder_ + "/";
        std::system(("rm -rf '" + dir_ + "' && mkdir -p '" + dir_ + "'").c_str());
        kaDraw::PackFileName[0] = '\0';
    }
    void TearDown() override {
        std::system(("rm -rf '" + dir_ + "'").c_str());
        kaDraw::PackFileName[0] = '\0';
    }
    // Names relative to the program folder, as the framework takes them.
    std::string Rel(const std::string& name) const { return folder_ + "\\" + name; }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ + name, std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(dir_ + name, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    // Writes pack bytes and makes them the current pack.
    void UsePack(const std::string& bytes) {
        Put("p.pak", bytes);
        kaDraw::SetPack(Rel("p.pak").c_str());
    }

    std::string folder_, dir_;
};

}  // namespace drawtest
