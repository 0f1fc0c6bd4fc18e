// Faces, fonts and the glyph cache: fontconfig finds the faces, FreeType
// renders them one bit deep; the two standard Japanese faces are pinned to
// the IPA files.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>

#include "platform/FontInternal.h"
#include "platform/TextDecode.h"

namespace plat {

struct FontFace {
    std::string path;
    int index = 0;
    int id = 0;
    FT_Face face = nullptr;
    int unitsPerEm = 2048;
    int winAscent = 0;
    int winDescent = 0;
};

namespace {

constexpr const char* kGothicName = "標準ゴシック";
constexpr const char* kMinchoName = "標準明朝";
constexpr const char* kGothicFile = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";
constexpr const char* kMinchoFile = "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf";
constexpr int kMaxPpem = 1024;
constexpr size_t kMaxCachedGlyphs = 32768;
constexpr double kItalicSlant = 0.2;

FT_Library gLibrary = nullptr;
bool gFontconfigUsed = false;
std::vector<std::unique_ptr<FontFace>> gFaces;
std::unordered_map<uint64_t, Glyph> gGlyphs;

// Programs and tests that never shut kaFont down still release the
// libraries at exit (fontconfig leaks its configuration otherwise).
void ReleaseAtExit() {
    static bool registered = false;
    if (!registered) std::atexit(ReleaseFonts);
    registered = true;
}

bool StartFreeType() {
    ReleaseAtExit();
    return gLibrary != nullptr || FT_Init_FreeType(&gLibrary) == 0;
}

FcConfig* Fontconfig() {
    ReleaseAtExit();
    gFontconfigUsed = true;
    return FcInit() ? FcConfigGetCurrent() : nullptr;
}

FontFace* OpenFace(const std::string& path, int index) {
    for (auto& f : gFaces)
        if (f->path == path && f->index == index) return f.get();
    if (!StartFreeType() || gFaces.size() >= 255) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(gLibrary, path.c_str(), index, &face) != 0) return nullptr;
    if (!FT_IS_SCALABLE(face)) {
        FT_Done_Face(face);
        return nullptr;
    }
    auto entry = std::make_unique<FontFace>();
    entry->path = path;
    entry->index = index;
    entry->id = static_cast<int>(gFaces.size());
    entry->face = face;
    entry->unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->usWinAscent + os2->usWinDescent > 0) {
        entry->winAscent = os2->usWinAscent;
        entry->winDescent = os2->usWinDescent;
    } else {
        entry->winAscent = face->ascender;
        entry->winDescent = -face->descender;
        if (entry->winAscent + entry->winDescent <= 0) {
            entry->winAscent = entry->unitsPerEm * 4 / 5;
            entry->winDescent = entry->unitsPerEm / 5;
        }
    }
    gFaces.push_back(std::move(entry));
    return gFaces.back().get();
}

bool FileExists(const char* path) {
    FILE* f = std::fopen(path, "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

// The best fontconfig match for a pattern such as "IPAGothic" or
// "sans-serif:lang=ja"; `japanese` tells whether it has kana.
FontFace* MatchFace(const std::string& pattern, bool* japanese) {
    FcConfig* config = Fontconfig();
    if (config == nullptr) return nullptr;
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str()));
    if (pat == nullptr) return nullptr;
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result;
    FcPattern* match = FcFontMatch(config, pat, &result);
    FcPatternDestroy(pat);
    if (match == nullptr) return nullptr;
    FontFace* face = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        face = OpenFace(reinterpret_cast<const char*>(file), index);
    }
    FcCharSet* chars = nullptr;
    *japanese = FcPatternGetCharSet(match, FC_CHARSET, 0, &chars) == FcResultMatch &&
                FcCharSetHasChar(chars, 0x3042) && FcCharSetHasChar(chars, 0x6F22);
    FcPatternDestroy(match);
    return face;
}

FontFace* GothicFace() {
    if (FileExists(kGothicFile))
        if (FontFace* f = OpenFace(kGothicFile, 0)) return f;
    bool japanese = false;
    return MatchFace("sans-serif:lang=ja", &japanese);
}

FontFace* MinchoFace() {
    if (FileExists(kMinchoFile))
        if (FontFace* f = OpenFace(kMinchoFile, 0)) return f;
    bool japanese = false;
    FontFace* f = MatchFace("serif:lang=ja", &japanese);
    return f != nullptr ? f : GothicFace();
}

FontFace* ResolveFace(const LogFont& lf) {
    char name[sizeof lf.lfFaceName + 1] = {};
    std::memcpy(name, lf.lfFaceName, sizeof lf.lfFaceName);
    const std::string face = ToUtf8(name);
    if (face == kGothicName) return GothicFace();
    if (face == kMinchoName) return MinchoFace();
    if (face.empty()) return GothicFace();
    // fontconfig names escape these characters.
    std::string pattern;
    for (char c : face) {
        if (c == '-' || c == ':' || c == ',' || c == '\\') pattern += '\\';
        pattern += c;
    }
    bool japanese = false;
    FontFace* f = MatchFace(pattern, &japanese);
    if (f == nullptr || (!japanese && lf.lfCharSet == kShiftJisCharset)) return GothicFace();
    return f;
}

int64_t RoundDiv(int64_t a, int64_t b) { return (a * 2 + b) / (b * 2); }

uint64_t GlyphKey(const Font& font, char32_t code) {
    return (static_cast<uint64_t>(font.face->id) << 56) | (static_cast<uint64_t>(font.ppem) << 44) |
           (static_cast<uint64_t>(font.bold) << 43) | (static_cast<uint64_t>(font.italic) << 42) |
           (static_cast<uint64_t>(font.escapement) << 30) | (static_cast<uint64_t>(code) & 0x3FFFFFFF);
}

Glyph Render(const Font& font, char32_t code) {
    Glyph g;
    FT_Face face = font.face->face;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(font.ppem)) != 0) return g;
    const double angle = font.escapement * M_PI / 1800.0;
    const double c = std::cos(angle), s = std::sin(angle);
    const double slant = font.italic ? kItalicSlant : 0.0;
    // Rotation after the shear, in FreeType's y-up space.
    FT_Matrix m;
    m.xx = static_cast<FT_Fixed>(std::lround(c * 65536));
    m.xy = static_cast<FT_Fixed>(std::lround((c * slant - s) * 65536));
    m.yx = static_cast<FT_Fixed>(std::lround(s * 65536));
    m.yy = static_cast<FT_Fixed>(std::lround((s * slant + c) * 65536));
    FT_Set_Transform(face, &m, nullptr);
    const FT_Error error = FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
    FT_Set_Transform(face, nullptr, nullptr);
    if (error != 0) return g;
    const FT_GlyphSlot slot = face->glyph;
    // The metrics are those of the untransformed, hinted glyph.
    g.advance = static_cast<int>((slot->metrics.horiAdvance + 32) >> 6);
    const FT_Bitmap& bm = slot->bitmap;
    const int extra = font.bold ? 1 : 0;
    int bx = 0, by = 0;  // the direction of the bold overstrike
    if (font.bold) {
        bx = static_cast<int>(std::lround(c));
        by = static_cast<int>(-std::lround(s));
        g.advance += 1;
    }
    g.left = slot->bitmap_left + std::min(bx, 0);
    g.top = slot->bitmap_top - std::min(by, 0);
    g.width = static_cast<int>(bm.width) + extra * std::abs(bx);
    g.height = static_cast<int>(bm.rows) + extra * std::abs(by);
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO || g.width <= 0 || g.height <= 0) {
        g.width = g.height = 0;
        return g;
    }
    g.bits.assign(static_cast<size_t>(g.width) * g.height, 0);
    const int ox = -std::min(bx, 0), oy = -std::min(by, 0);
    for (int y = 0; y < static_cast<int>(bm.rows); ++y) {
        const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
        for (int x = 0; x < static_cast<int>(bm.width); ++x) {
            if (((row[x >> 3] >> (7 - (x & 7))) & 1) == 0) continue;
            g.bits[static_cast<size_t>(y + oy) * g.width + x + ox] = 1;
            if (font.bold) g.bits[static_cast<size_t>(y + oy + by) * g.width + x + ox + bx] = 1;
        }
    }
    return g;
}

uint8_t CharsetOfPattern(FcPattern* font, int* type) {
    FcCharSet* chars = nullptr;
    const bool hasChars = FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) == FcResultMatch;
    if (hasChars && FcCharSetHasChar(chars, 0x3042) && FcCharSetHasChar(chars, 0x6F22)) {
        *type = 1;
        return kShiftJisCharset;
    }
    // A face without Latin letters is a symbol face.
    if (!hasChars || !(FcCharSetHasChar(chars, 'A') && FcCharSetHasChar(chars, 'z'))) {
        *type = 3;
        return kSymbolCharset;
    }
    *type = 2;
    return kAnsiCharset;
}

int Report(FontEnumProc proc, intptr_t data, const std::string& name, uint8_t charset) {
    LogFont lf{};
    CopyTextBounded(lf.lfFaceName, sizeof lf.lfFaceName, name.c_str());
    lf.lfHeight = 16;
    lf.lfWeight = 400;
    lf.lfCharSet = charset;
    TextMetric tm{};
    tm.tmHeight = 16;
    tm.tmAscent = 13;
    tm.tmDescent = 3;
    tm.tmWeight = 400;
    tm.tmCharSet = charset;
    return proc(&lf, &tm, kTrueTypeFontType, data);
}

}  // namespace

const Glyph& Font::glyph(char32_t code) const {
    static const Glyph kEmpty;
    if (face == nullptr) return kEmpty;
    const uint64_t key = GlyphKey(*this, code);
    auto it = gGlyphs.find(key);
    if (it != gGlyphs.end()) return it->second;
    if (gGlyphs.size() >= kMaxCachedGlyphs) gGlyphs.clear();
    return gGlyphs.emplace(key, Render(*this, code)).first->second;
}

void EnumFonts(FontEnumProc proc, intptr_t data) {
    if (proc == nullptr) return;
    if (Report(proc, data, kGothicName, kShiftJisCharset) == 0) return;
    if (Report(proc, data, kMinchoName, kShiftJisCharset) == 0) return;
    FcConfig* config = Fontconfig();
    if (config == nullptr) return;
    FcPattern* pat = FcPatternCreate();
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, FC_CHARSET, nullptr);
    FcFontSet* set = FcFontList(config, pat, os);
    FcObjectSetDestroy(os);
    FcPatternDestroy(pat);
    if (set == nullptr) return;
    std::set<std::string> seen;
    for (int i = 0; i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch) continue;
        const std::string name = reinterpret_cast<const char*>(family);
        if (name.empty() || !seen.insert(name).second) continue;
        int type = 2;
        const uint8_t charset = CharsetOfPattern(set->fonts[i], &type);
        if (Report(proc, data, name, charset) == 0) break;
    }
    FcFontSetDestroy(set);
}

Font* CreateFont(const LogFont& lf) {
    FontFace* face = ResolveFace(lf);
    if (face == nullptr) return nullptr;
    auto* font = new Font;
    font->face = face;
    const int64_t cellUnits = face->winAscent + face->winDescent;
    int64_t height = lf.lfHeight;
    if (height == 0) height = 16;
    height = std::max<int64_t>(-kMaxPpem * 2, std::min<int64_t>(height, kMaxPpem * 2));
    int64_t ppem, cell;
    if (height > 0) {
        cell = height;
        ppem = RoundDiv(height * face->unitsPerEm, cellUnits);
    } else {
        ppem = -height;
        cell = RoundDiv(ppem * cellUnits, face->unitsPerEm);
    }
    font->ppem = static_cast<int>(std::max<int64_t>(1, std::min<int64_t>(ppem, kMaxPpem)));
    font->cellHeight = static_cast<int>(std::max<int64_t>(1, cell));
    font->ascent = static_cast<int>(RoundDiv(font->cellHeight * int64_t{face->winAscent}, cellUnits));
    font->bold = lf.lfWeight >= 600;
    font->italic = lf.lfItalic != 0;
    font->underline = lf.lfUnderline != 0;
    font->escapement = static_cast<int>(((lf.lfEscapement % 3600) + 3600) % 3600);
    const FT_Face f = face->face;
    font->underlineThickness =
        std::max(1, static_cast<int>(RoundDiv(int64_t{f->underline_thickness} * font->ppem, face->unitsPerEm)));
    const int below = static_cast<int>(RoundDiv(-int64_t{f->underline_position} * font->ppem, face->unitsPerEm));
    font->underlineTop = std::min(font->ascent + std::max(1, below) - font->underlineThickness / 2,
                                  font->cellHeight - font->underlineThickness);
    return font;
}

void DeleteFont(Font* font) { delete font; }

FontMetrics GetFontMetrics(const Font* font) {
    if (font == nullptr) return {0, 0, 0};
    return {font->cellHeight, font->ascent, font->ppem};
}

void ReleaseFonts() {
    gGlyphs.clear();
    for (auto& f : gFaces) FT_Done_Face(f->face);
    gFaces.clear();
    if (gLibrary != nullptr) FT_Done_FreeType(gLibrary);
    gLibrary = nullptr;
    if (gFontconfigUsed) FcFini();
    gFontconfigUsed = false;
    ReleaseTextDecoder();
}

}  // namespace plat
