// assetgen: builds the game's pictures and sounds from the readable sources
// in resources/, and the contact sheet and sound report used to review them.
//   assetgen pictures RESOURCES OUTDIR GOTHIC.ttf MINCHO.ttf
//   assetgen sounds RESOURCES OUTDIR
//   assetgen midi SCORE.mml OUT.mid
//   assetgen sheet OUT.bmp SCALE WIDTH GOTHIC.ttf PICTURE.bmp...
//   assetgen wavinfo OUT.txt FILE.wav...
//   assetgen icon RESOURCES OUTDIR
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "Bmp.h"
#include "Captions.h"
#include "ContactSheet.h"
#include "Icon.h"
#include "Manifest.h"
#include "Palette.h"
#include "Pictures.h"
#include "PixelArt.h"
#include "SoundBuild.h"
#include "Text.h"

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

int BuildPictures(const std::string& resources, const std::string& outDir, const std::string& gothic,
                  const std::string& mincho) {
    const std::string spriteDir = resources + "/sprites";
    Palette palette = Palette::Load(spriteDir + "/palette.txt");
    SpriteBook book;
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(spriteDir)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".txt" && name != "palette.txt") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    for (const std::string& file : files) book.LoadFile(file, palette);

    TextRenderer text(gothic, mincho);
    PictureSources sources{palette, book, text, resources + "/pictures"};
    fs::create_directories(outDir);
    for (const PictureEntry& entry : Pictures()) {
        Image image = book.Has(entry.name) ? book.Get(entry.name) : ComposePicture(entry.name, sources);
        if (image.width != entry.width || image.height != entry.height)
            throw std::runtime_error(std::string(entry.name) + " must be " + std::to_string(entry.width) + "x" +
                                     std::to_string(entry.height));
        WriteBytes(outDir + "/" + entry.name + ".bmp", EncodeBmp8(image, palette.Colours()));
    }
    return 0;
}

int BuildSheet(int argc, char** argv) {
    const std::string out = argv[2];
    const int scale = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]);
    if (scale < 1 || scale > 8 || width < 64) throw std::runtime_error("sheet: bad scale or width");
    TextRenderer text(argv[5], argv[5]);
    std::vector<SheetItem> items;
    for (int i = 6; i < argc; ++i) {
        SheetItem item;
        item.name = fs::path(argv[i]).stem().string();
        if (!DecodeBmp8(ReadBytes(argv[i]), &item.image, &item.palette))
            throw std::runtime_error(std::string(argv[i]) + " is not an 8-bit BMP");
        items.push_back(std::move(item));
    }
    std::vector<Rgb> palette;
    Image sheet = ComposeContactSheet(items, width, scale, text, &palette);
    WriteBytes(out, EncodeBmp8(sheet, palette));
    return 0;
}

// One caption per line of a UTF-8 text file (empty lines are skipped).
int BuildCaptions(const std::string& out, const std::string& font, const std::string& linesFile) {
    const std::vector<uint8_t> bytes = ReadBytes(linesFile);
    std::vector<std::string> lines;
    std::string line;
    for (uint8_t b : bytes) {
        if (b == '\n') {
            if (!line.empty()) lines.push_back(line);
            line.clear();
        } else if (b != '\r') {
            line.push_back(static_cast<char>(b));
        }
    }
    if (!line.empty()) lines.push_back(line);
    TextRenderer text(font, font);
    WriteBytes(out, EncodeBmp8(ComposeCaptions(lines, CaptionLayout{}, text), CaptionPalette()));
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: assetgen pictures RESOURCES OUTDIR GOTHIC MINCHO\n"
                 "       assetgen sounds RESOURCES OUTDIR\n"
                 "       assetgen midi SCORE.mml OUT.mid\n"
                 "       assetgen sheet OUT.bmp SCALE WIDTH GOTHIC PICTURE.bmp...\n"
                 "       assetgen wavinfo OUT.txt FILE.wav...\n"
                 "       assetgen captions OUT.bmp FONT LINES.txt\n"
                 "       assetgen icon RESOURCES OUTDIR\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "pictures" && argc == 6) return BuildPictures(argv[2], argv[3], argv[4], argv[5]);
        if (command == "sounds" && argc == 4) return BuildSounds(argv[2], argv[3]);
        if (command == "midi" && argc == 4) return BuildMidi(argv[2], argv[3]);
        if (command == "icon" && argc == 4) {
            BuildIcons(argv[2], argv[3]);
            return 0;
        }
        if (command == "sheet" && argc >= 7) return BuildSheet(argc, argv);
        if (command == "captions" && argc == 5) return BuildCaptions(argv[2], argv[3], argv[4]);
        if (command == "wavinfo" && argc >= 4) {
            std::vector<std::string> files(argv + 3, argv + argc);
            return WriteSoundReport(argv[2], files);
        }
        return Usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
}
