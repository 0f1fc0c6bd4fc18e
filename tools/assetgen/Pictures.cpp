// Composition of the title, the stage select, the ending window and the
// intro banners; the text strips come from their sheet files.
#include "Pictures.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Draw.h"
#include "TextSheet.h"

namespace assetgen {

namespace {

std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    size_t b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Small deterministic generator for scattering stars.
struct Lcg {
    uint32_t state;
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int Below(int n) { return int(Next() % uint32_t(n)); }
};

class Composer {
public:
    explicit Composer(const PictureSources& s)
        : src(s), labels(LoadLabels(s.picturesDir + "/labels.txt")) {}

    uint8_t C(const char* name) const { return src.palette.IndexOfName(name); }
    const Image& Sprite(const char* name) const { return src.sprites.Get(name); }
    const std::string& Label(const std::string& key) const {
        auto it = labels.find(key);
        if (it == labels.end()) throw std::runtime_error("labels.txt has no " + key);
        return it->second;
    }

    // Text centred on `centreX` with its ink starting at row `top`.
    void Title(Image& img, const std::string& text, Face face, int size, int centreX, int top, uint8_t fill,
               uint8_t edge, int outline, int spacing = 0, int bold = 0) {
        Mask m = Embolden(src.text.Render(text, face, size, spacing), bold);
        int inkTop = 0, inkBottom = 0;
        m.InkRows(&inkTop, &inkBottom);
        PaintOutlined(img, m, CentredX(m, centreX), top - inkTop, fill, edge, outline);
    }
    void Shadowed(Image& img, const std::string& text, Face face, int size, int centreX, int top, uint8_t fill,
                  uint8_t shadow) {
        Mask m = src.text.Render(text, face, size);
        int inkTop = 0, inkBottom = 0;
        m.InkRows(&inkTop, &inkBottom);
        PaintShadowed(img, m, CentredX(m, centreX), top - inkTop, fill, shadow, 1, 1);
    }

    void StarField(Image& img, int x, int y, int w, int h, int count, uint32_t seed) {
        Lcg rng{seed};
        const uint8_t dim[] = {C("floor4"), C("silver"), C("pale")};
        for (int i = 0; i < count; ++i) {
            const int sx = x + rng.Below(w), sy = y + rng.Below(h);
            const int kind = rng.Below(16);
            if (kind < 11) {
                img.Set(sx, sy, dim[rng.Below(3)]);
            } else {
                // A brighter star with a small cross of light.
                const uint8_t core = kind < 14 ? C("snow") : C("gold3");
                img.Set(sx, sy, core);
                img.Set(sx - 1, sy, C("floor4"));
                img.Set(sx + 1, sy, C("floor4"));
                img.Set(sx, sy - 1, C("floor4"));
                img.Set(sx, sy + 1, C("floor4"));
            }
        }
    }

    Image Title();
    Image StageSelect();
    Image Window();
    Image Event();
    Image Sheet(const std::string& file);

private:
    const PictureSources& src;
    std::map<std::string, std::string> labels;
};

Image Composer::Title() {
    Image img(640, 480);
    GradientRect(img, 0, 0, 640, 416, {C("ink"), C("floor0"), C("floor1"), C("floor2"), C("purple0")});
    StarField(img, 0, 0, 640, 330, 260, 7);
    // A big moon behind the ruins.
    Disc(img, 2 * 520, 2 * 96, 2 * 44, C("gold3"));
    Disc(img, 2 * 536, 2 * 88, 2 * 40, C("floor1"));
    // Ruins: stepped walls on both sides, floor in between.
    const Image& wall = Sprite("BLOCK_C");
    const Image& floor = Sprite("BLOCK_HOSI");
    for (int x = 0; x < 640; x += 32) {
        Blit(img, floor, x, 416);
        Blit(img, floor, x, 448);
    }
    const int leftSteps[] = {4, 3, 2, 2, 1};
    for (int col = 0; col < 5; ++col) {
        for (int k = 0; k < leftSteps[col]; ++k) {
            Blit(img, wall, col * 32, 384 - k * 32);
            Blit(img, wall, 608 - col * 32, 384 - k * 32);
        }
    }
    FillRect(img, 0, 412, 640, 4, C("ink"));
    for (int x = 0; x < 640; x += 32) Blit(img, wall, x, 448);

    // The hero, a treasure and the slimes in the ruins.
    Blit(img, Sprite("P_RIGHT1"), 224, 352, 2);
    Blit(img, Sprite("TAKARA2"), 352, 352, 2);
    Blit(img, Sprite("SURAIMU_G"), 176, 384);
    Blit(img, Sprite("SURAIMU_R"), 464, 384);
    Blit(img, Sprite("M_LEFT"), 576, 288);

    Title(img, Label("title.over"), Face::Mincho, 34, 320, 70, C("snow"), C("ink"), 2);
    Title(img, Label("title.main"), Face::Gothic, 76, 320, 118, C("gold2"), C("ink"), 3, 2, 3);
    Title(img, Label("title.prompt"), Face::Gothic, 28, 320, 262, C("white"), C("ink"), 2, 0, 1);
    Shadowed(img, Label("title.hint"), Face::Gothic, 16, 320, 308, C("pale"), C("ink"));
    return img;
}

Image Composer::StageSelect() {
    Image img(640, 480);
    const Image& floor = Sprite("BLOCK_HOSI");
    for (int y = 0; y < 480; y += 32)
        for (int x = 0; x < 640; x += 32) Blit(img, floor, x, y);
    // Heading plate.
    Panel(img, 144, 28, 352, 64, C("ink"), C("stone3"), C("stone1"));
    Title(img, Label("select.title"), Face::Gothic, 36, 320, 42, C("gold2"), C("ink"), 2, 0, 1);

    // Twelve numbered boxes, one per 64x64 cell.
    for (int stage = 0; stage < 12; ++stage) {
        const StageCell cell = StageCellOf(stage);
        const bool last = stage == 11;
        Panel(img, cell.x + 4, cell.y + 4, 56, 56, C("ink"), last ? C("red1") : C("stone3"),
              last ? C("red0") : C("floor3"));
        const std::string number = std::to_string(stage + 1);
        Mask m = Embolden(src.text.Render(number, Face::Gothic, 30), 1);
        int inkTop = 0, inkBottom = 0;
        m.InkRows(&inkTop, &inkBottom);
        // One digit centres in the box; two digits start five pixels right
        // of the one-digit place, where the cleared mark expects them.
        const int centre = number.size() == 1 ? cell.x + 32 : cell.x + 37;
        const int top = cell.y + 32 - (inkBottom - inkTop + 1) / 2;
        PaintOutlined(img, m, CentredX(m, centre), top - inkTop, C("snow"), C("ink"), 1);
    }
    Shadowed(img, Label("select.note"), Face::Gothic, 16, 320, 276, C("pale"), C("ink"));

    // Five sockets where the found star orbs appear.
    Panel(img, 144, 312, 352, 120, C("ink"), C("stone3"), C("floor1"));
    Shadowed(img, Label("select.balls"), Face::Gothic, 18, 320, 324, C("gold2"), C("ink"));
    for (int i = 0; i < 5; ++i) {
        const int cx = 160 + 64 * i + 32, cy = 352 + 32;
        Disc(img, 2 * cx, 2 * cy, 2 * 26, C("floor0"));
        Ring(img, 2 * cx, 2 * cy, 2 * 27, 2, C("slate"));
    }
    Shadowed(img, Label("select.help"), Face::Gothic, 18, 320, 448, C("snow"), C("ink"));
    return img;
}

Image Composer::Window() {
    Image img(640, 128);
    Panel(img, 0, 0, 640, 128, C("ink"), C("gold1"), C("floor2"));
    // Star studs in the corners of the frame.
    const int studs[4][2] = {{10, 10}, {629, 10}, {10, 117}, {629, 117}};
    for (const auto& s : studs) {
        Disc(img, 2 * s[0] + 1, 2 * s[1] + 1, 7, C("gold3"));
        img.Set(s[0], s[1], C("white"));
    }
    return img;
}

Image Composer::Event() {
    Image img(640, 480);
    struct Banner {
        int top;
        const char* head;
        const char* body;
        const char* inside;
        const char* border;
    };
    const Banner banners[2] = {{0, "event1.head", "event1.body", "red0", "gold2"},
                               {65, "event2.head", "event2.body", "purple1", "teal2"}};
    for (const Banner& b : banners) {
        Panel(img, 0, b.top, 640, 65, C("ink"), C(b.border), C(b.inside));
        Title(img, Label(b.head), Face::Gothic, 26, 320, b.top + 10, C("white"), C("ink"), 2, 0, 1);
        Shadowed(img, Label(b.body), Face::Gothic, 16, 320, b.top + 42, C(b.border), C("ink"));
    }
    return img;
}

Image Composer::Sheet(const std::string& file) {
    const std::string path = src.picturesDir + "/" + file;
    SheetSpec spec = ParseSheet(ReadText(path), path, src.palette);
    return ComposeSheet(spec, 640, 480, src.text, C("ink"));
}

}  // namespace

StageCell StageCellOf(int index) {
    return index < 7 ? StageCell{96 + 64 * index, 128} : StageCell{96 + 64 * (index - 7), 192};
}

std::map<std::string, std::string> LoadLabels(const std::string& path) {
    std::map<std::string, std::string> labels;
    std::istringstream in(ReadText(path));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos) throw std::runtime_error(path + ": expected key = text: " + line);
        labels[Trim(line.substr(0, eq))] = Trim(line.substr(eq + 1));
    }
    return labels;
}

Image ComposePicture(const std::string& name, const PictureSources& sources) {
    Composer c(sources);
    if (name == "op") return c.Title();
    if (name == "STAGE_SELECT") return c.StageSelect();
    if (name == "WINDOW") return c.Window();
    if (name == "EVENT") return c.Event();
    if (name == "END1A") return c.Sheet("end1a.txt");
    if (name == "END1B") return c.Sheet("end1b.txt");
    if (name == "END2") return c.Sheet("end2.txt");
    if (name == "STAFF") return c.Sheet("staff.txt");
    throw std::runtime_error("no composition for " + name);
}

}  // namespace assetgen
