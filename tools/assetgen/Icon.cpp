// The icon: composition from the sprites, the PNG and .ico encoders, and the
// `icon` command of the generator.
#include "Icon.h"

#include <zlib.h>

#include <filesystem>
#include <stdexcept>

#include "Bmp.h"
#include "LittleEndian.h"

namespace assetgen {
namespace {

constexpr int kArtSize = 32;

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    PutBig32(out, static_cast<uint32_t>(crc));
}

}  // namespace

ArgbImage DrawIcon(const SpriteBook& book, const Palette& palette, int size) {
    if (size < kArtSize || size % kArtSize != 0 || size > 256)
        throw std::runtime_error("icon size " + std::to_string(size) + " is not 32, 64, ..., 256");
    const Image& floor = book.Get("BLOCK_HOSI");
    const Image& hero = book.Get("P_MAE1");
    const std::vector<Rgb>& colours = palette.Colours();
    auto argb = [&](uint8_t index) {
        const Rgb c = index < colours.size() ? colours[index] : Rgb{};
        return 0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
    };
    const int scale = size / kArtSize;
    ArgbImage icon{size, size, std::vector<uint32_t>(size_t(size) * size)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const int ax = x / scale, ay = y / scale;
            const uint8_t top = hero.Contains(ax, ay) ? hero.At(ax, ay) : kKeyIndex;
            const uint8_t below = floor.Contains(ax, ay) ? floor.At(ax, ay) : kKeyIndex;
            const uint8_t index = top != kKeyIndex ? top : below;
            icon.pixels[size_t(y) * size + x] = index == kKeyIndex ? 0u : argb(index);
        }
    }
    return icon;
}

std::vector<uint8_t> EncodePng(const ArgbImage& image) {
    std::vector<uint8_t> raw;
    raw.reserve(size_t(image.height) * (1 + size_t(image.width) * 4));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.pixels[size_t(y) * image.width + x];
            raw.insert(raw.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK)
        throw std::runtime_error("png: compression failed");
    packed.resize(packedSize);

    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(image.width));
    PutBig32(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter set, no interlace
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

std::vector<uint8_t> EncodeIco(const std::vector<ArgbImage>& images) {
    std::vector<std::vector<uint8_t>> entries;
    for (const ArgbImage& image : images) {
        if (image.width < 1 || image.height < 1 || image.width > 256 || image.height > 256)
            throw std::runtime_error("ico: entries are 1 to 256 pixels square");
        const size_t maskPitch = ((size_t(image.width) + 31) / 32) * 4;
        std::vector<uint8_t> dib;
        Put32(dib, 40);
        Put32(dib, static_cast<uint32_t>(image.width));
        Put32(dib, static_cast<uint32_t>(image.height * 2));  // colour rows, then the mask's
        Put16(dib, 1);
        Put16(dib, 32);
        for (int i = 0; i < 6; ++i) Put32(dib, 0);
        for (int y = image.height - 1; y >= 0; --y)
            for (int x = 0; x < image.width; ++x) Put32(dib, image.pixels[size_t(y) * image.width + x]);
        for (int y = image.height - 1; y >= 0; --y) {
            std::vector<uint8_t> row(maskPitch, 0);
            for (int x = 0; x < image.width; ++x)
                if ((image.pixels[size_t(y) * image.width + x] >> 24) == 0) row[x / 8] |= uint8_t(0x80 >> (x % 8));
            dib.insert(dib.end(), row.begin(), row.end());
        }
        entries.push_back(std::move(dib));
    }
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, static_cast<uint32_t>(entries.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        out.push_back(uint8_t(images[i].width & 0xFF));  // 256 is written as 0
        out.push_back(uint8_t(images[i].height & 0xFF));
        out.push_back(0);  // no palette
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(entries[i].size());
    }
    for (const auto& entry : entries) out.insert(out.end(), entry.begin(), entry.end());
    return out;
}

void BuildIcons(const std::string& resources, const std::string& outDir) {
    const std::string spriteDir = resources + "/sprites";
    const Palette palette = Palette::Load(spriteDir + "/palette.txt");
    SpriteBook book;
    book.LoadFile(spriteDir + "/player.txt", palette);
    book.LoadFile(spriteDir + "/tiles.txt", palette);
    std::filesystem::create_directories(outDir);
    for (int size : {32, 64, 128, 256})
        WriteBytes(outDir + "/kasample-" + std::to_string(size) + ".png", EncodePng(DrawIcon(book, palette, size)));
    WriteBytes(outDir + "/MAIN.ico", EncodeIco({DrawIcon(book, palette, 32), DrawIcon(book, palette, 64)}));
}

}  // namespace assetgen
