// BMP encoding: file header, info header, palette, then rows padded to four
// bytes, bottom row first.
#include "Bmp.h"
#include "LittleEndian.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace assetgen {

std::vector<uint8_t> EncodeBmp8(const Image& image, const std::vector<Rgb>& palette) {
    if (palette.empty() || palette.size() > 256) throw std::runtime_error("palette must hold 1..256 colours");
    const uint32_t stride = (uint32_t(image.width) + 3) & ~3u;
    const uint32_t paletteBytes = uint32_t(palette.size()) * 4;
    const uint32_t offset = 14 + 40 + paletteBytes;
    const uint32_t dataBytes = stride * uint32_t(image.height);
    std::vector<uint8_t> out;
    out.reserve(offset + dataBytes);
    out.push_back('B');
    out.push_back('M');
    Put32(out, offset + dataBytes);
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, uint32_t(image.width));
    Put32(out, uint32_t(image.height));  // positive: bottom-up
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 0);  // BI_RGB
    Put32(out, dataBytes);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, uint32_t(palette.size()));
    Put32(out, uint32_t(palette.size()));
    for (const Rgb& c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            uint8_t index = image.At(x, y);
            if (index >= palette.size()) throw std::runtime_error("pixel index outside the palette");
            out.push_back(index);
        }
        for (uint32_t pad = uint32_t(image.width); pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

bool DecodeBmp8(const std::vector<uint8_t>& b, Image* image, std::vector<Rgb>* palette) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return false;
    const uint32_t offset = Get32(b, 10);
    const uint32_t headerSize = Get32(b, 14);
    const int32_t width = int32_t(Get32(b, 18));
    const int32_t rawHeight = int32_t(Get32(b, 22));
    if (headerSize < 40 || Get16(b, 28) != 8 || Get32(b, 30) != 0) return false;
    if (width <= 0 || width > 16384 || rawHeight == 0 || rawHeight < -16384 || rawHeight > 16384) return false;
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    uint32_t colours = Get32(b, 46);
    if (colours == 0) colours = 256;
    if (colours > 256 || 14 + uint64_t(headerSize) + colours * 4ull > b.size()) return false;
    const uint32_t stride = (uint32_t(width) + 3) & ~3u;
    if (uint64_t(offset) + uint64_t(stride) * uint32_t(height) > b.size()) return false;
    palette->clear();
    for (uint32_t i = 0; i < colours; ++i) {
        size_t at = 14 + headerSize + i * 4;
        palette->push_back(Rgb{b[at + 2], b[at + 1], b[at]});
    }
    *image = Image(width, height);
    for (int row = 0; row < height; ++row) {
        const int y = rawHeight > 0 ? height - 1 - row : row;
        const uint8_t* src = b.data() + offset + size_t(row) * stride;
        for (int x = 0; x < width; ++x) {
            if (src[x] >= colours) return false;
            image->Set(x, y, src[x]);
        }
    }
    return true;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
