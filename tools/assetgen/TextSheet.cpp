// Sheet syntax, one statement per line ('#' starts a comment line):
//   font gothic|mincho       size N       colour NAME      (defaults)
//   band A B [TEXT]          a band of rows A..B-1, optionally with one line
//   line SIZE COLOUR TEXT    one more line in the band above
//   within C D               the band's text keeps to rows C..D-1
#include "TextSheet.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

#include "Draw.h"

namespace assetgen {

namespace {

std::string RestOfLine(std::istringstream& words) {
    std::string rest;
    std::getline(words, rest);
    size_t start = rest.find_first_not_of(" \t");
    size_t end = rest.find_last_not_of(" \t\r");
    return start == std::string::npos ? std::string() : rest.substr(start, end - start + 1);
}

}  // namespace

SheetSpec ParseSheet(const std::string& text, const std::string& origin, const Palette& palette) {
    SheetSpec spec;
    int size = 20;
    uint8_t colour = palette.IndexOfName("snow");
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        throw std::runtime_error(origin + ":" + std::to_string(lineNo) + ": " + what);
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty() || line[0] == '#' || line.find_first_not_of(" \t\r") == std::string::npos) continue;
        std::istringstream words(line);
        std::string verb;
        words >> verb;
        try {
            if (verb == "font") {
                std::string name;
                words >> name;
                if (name != "gothic" && name != "mincho") fail("font is gothic or mincho");
                spec.face = name == "gothic" ? Face::Gothic : Face::Mincho;
            } else if (verb == "size") {
                if (!(words >> size) || size < 8 || size > 96) fail("size must be 8..96");
            } else if (verb == "colour") {
                std::string name;
                words >> name;
                colour = palette.IndexOfName(name);
            } else if (verb == "band") {
                SheetBand band;
                if (!(words >> band.top >> band.bottom) || band.top < 0 || band.bottom <= band.top)
                    fail("band needs rows A B with A < B");
                band.textTop = band.top;
                band.textBottom = band.bottom;
                std::string rest = RestOfLine(words);
                if (!rest.empty()) band.lines.push_back({rest, size, colour});
                spec.bands.push_back(band);
            } else if (verb == "within") {
                if (spec.bands.empty()) fail("within before any band");
                SheetBand& band = spec.bands.back();
                if (!(words >> band.textTop >> band.textBottom) || band.textTop < band.top ||
                    band.textBottom > band.bottom || band.textTop >= band.textBottom)
                    fail("within needs rows C D inside the band");
            } else if (verb == "line") {
                SheetLine sheetLine;
                std::string colourName;
                if (spec.bands.empty()) fail("line before any band");
                if (!(words >> sheetLine.size >> colourName) || sheetLine.size < 8 || sheetLine.size > 96)
                    fail("line needs SIZE COLOUR TEXT");
                sheetLine.colour = palette.IndexOfName(colourName);
                sheetLine.text = RestOfLine(words);
                if (sheetLine.text.empty()) fail("line without text");
                spec.bands.back().lines.push_back(sheetLine);
            } else {
                fail("unknown statement '" + verb + "'");
            }
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            if (what.rfind(origin, 0) == 0) throw;
            fail(what);
        }
    }
    for (const SheetBand& band : spec.bands)
        if (band.lines.empty()) throw std::runtime_error(origin + ": a band without text");
    return spec;
}

std::vector<int> PrivateRows(const SheetSpec& spec, size_t index) {
    std::vector<int> rows;
    const SheetBand& band = spec.bands[index];
    for (int y = band.top; y < band.bottom; ++y) {
        bool shared = false;
        for (size_t other = 0; other < spec.bands.size(); ++other) {
            if (other != index && y >= spec.bands[other].top && y < spec.bands[other].bottom) shared = true;
        }
        if (!shared && y >= band.textTop && y < band.textBottom) rows.push_back(y);
    }
    return rows;
}

Image ComposeSheet(const SheetSpec& spec, int width, int height, TextRenderer& text, uint8_t shadow) {
    Image image(width, height);
    constexpr int kGap = 6;  // between the lines of one band
    for (size_t index = 0; index < spec.bands.size(); ++index) {
        const SheetBand& band = spec.bands[index];
        // Longest run of private rows.
        const std::vector<int> rows = PrivateRows(spec, index);
        int bestTop = 0, bestLength = 0;
        for (size_t i = 0; i < rows.size();) {
            size_t j = i;
            while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
            if (int(j - i + 1) > bestLength) {
                bestLength = int(j - i + 1);
                bestTop = rows[i];
            }
            i = j + 1;
        }
        std::vector<Mask> masks;
        std::vector<int> inkTop, inkHeight;
        int block = 0;
        for (const SheetLine& line : band.lines) {
            masks.push_back(text.Render(line.text, spec.face, line.size));
            int top = 0, bottom = 0;
            masks.back().InkRows(&top, &bottom);
            if (top < 0) throw std::runtime_error("a line without ink: " + line.text);
            inkTop.push_back(top);
            inkHeight.push_back(bottom - top + 2);  // + the shadow row
            block += inkHeight.back() + (masks.size() > 1 ? kGap : 0);
            if (masks.back().width + 1 > width - 16)
                throw std::runtime_error("line too wide for the picture: " + line.text);
        }
        if (block > bestLength - 2 || bestTop + bestLength > height)
            throw std::runtime_error("lines do not fit rows " + std::to_string(band.top) + ".." +
                                     std::to_string(band.bottom) + ": " + band.lines.front().text);
        int y = bestTop + (bestLength - block) / 2;
        for (size_t i = 0; i < masks.size(); ++i) {
            PaintShadowed(image, masks[i], CentredX(masks[i], width / 2), y - inkTop[i], band.lines[i].colour, shadow,
                          1, 1);
            y += inkHeight[i] + kGap;
        }
    }
    return image;
}

}  // namespace assetgen
