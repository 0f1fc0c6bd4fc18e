// The pictures and sounds the game loads, with their sizes and file names.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct PictureEntry {
    const char* name;  // the name the game loads it by; also the file stem
    int width;
    int height;
};

struct SoundEntry {
    const char* source;  // score file under resources/, without ".mml"
    const char* path;    // where the game finds it, beside the program
    bool loops;
};

const std::vector<PictureEntry>& Pictures();
const std::vector<SoundEntry>& Sounds();

}  // namespace assetgen
