// Loading of the game's pictures and sounds (WAV files in the folders music
// and wave beside the program), in the order that fixes their numbers. A
// picture comes from a loose file of its name beside the program, else from
// the picture pack KASAMPLE.PAK beside the program, else from the embedded
// bitmaps.
#include "Assets.h"

#include <sys/stat.h>

#include <string>

#include "draw/PackLookup.h"
#include "draw/kaDraw.h"
#include "platform/Files.h"
#include "shell/kaSystem.h"
#include "sound/kaSound.h"

int op, stage_select, stage_cursor, stage_batu;
int block_g, block_c, block_hosi, block_y;
int p_left1, p_left2, p_right1, p_right2;
int p_up1, p_up2, p_up3, p_down1, p_down2, p_down3, p_clear;
int s_g, s_r, m_left, m_right, m_usiro, m_mae;
int takara, takara2;
int ball_p, ball_g, ball_b, ball_r, ball_s;
int window, end1a, end1b, end2, staff, event;

int ds_op, ds_Main1, ds_select, ds_boss, ds_end1, ds_end2, ds_staff, ds_clear;
int ds_cursor, ds_push, ds_miss, ds_get, ds_genkyu;

namespace {

struct SpriteLoad {
    int* global;
    const char* name;
};

struct SoundLoad {
    int* global;
    const char* path;
};

// Placement code 2: no placement request, the display's choice.
constexpr int kAnyMemory = 2;
constexpr int kOneMixBuffer = 1;
// Pure blue (0x00BBGGRR) is transparent in every picture of the game.
constexpr uint32_t kKeyBlue = 0xFF0000;
constexpr const char* kPicturePack = "KASAMPLE.PAK";

// A plain file of this name in the program's folder (any letter case).
bool BesideProgram(const std::string& name) {
    struct stat st;
    const std::string path = plat::ResolvePath(std::string(kaSystem::Directory(0)) + name);
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int LoadPicture(const char* name, bool havePack) {
    if (havePack && !BesideProgram(name)) {
        // Packs name their pictures after the BMP files they were made from.
        const std::string packed = std::string(name) + ".BMP";
        if (kadraw::PackHolds(packed.c_str())) return kaDraw::LoadPack(packed.c_str(), kAnyMemory);
    }
    return kaDraw::LoadObject(name, kAnyMemory);
}

}  // namespace

void load_assets() {
    static const SpriteLoad kSprites[] = {
        {&op, "op"},                 {&stage_select, "STAGE_SELECT"}, {&stage_cursor, "CURSOR"},
        {&stage_batu, "BATU"},       {&block_g, "BLOCK_G"},           {&block_c, "BLOCK_C"},
        {&block_hosi, "BLOCK_HOSI"}, {&block_y, "BLOCK_YARI"},        {&p_left1, "P_LEFT1"},
        {&p_left2, "P_LEFT2"},       {&p_right1, "P_RIGHT1"},         {&p_right2, "P_RIGHT2"},
        {&p_up1, "P_USIRO1"},        {&p_up2, "P_USIRO2"},            {&p_up3, "P_USIRO3"},
        {&p_down1, "P_MAE1"},        {&p_down2, "P_MAE2"},            {&p_down3, "P_MAE3"},
        {&p_clear, "P_CLEAR"},       {&s_g, "SURAIMU_G"},             {&s_r, "SURAIMU_R"},
        {&m_left, "M_LEFT"},         {&m_right, "M_RIGHT"},           {&m_usiro, "M_USIRO"},
        {&m_mae, "M_MAE"},           {&takara, "TAKARA"},             {&takara2, "TAKARA2"},
        {&ball_p, "BALL_P"},         {&ball_g, "BALL_G"},             {&ball_b, "BALL_B"},
        {&ball_r, "BALL_R"},         {&ball_s, "BALL_S"},             {&window, "WINDOW"},
        {&end1a, "END1A"},           {&end1b, "END1B"},               {&end2, "END2"},
        {&staff, "STAFF"},           {&event, "EVENT"},
    };
    static const SoundLoad kSounds[] = {
        {&ds_op, "\\music\\op.WAV"},       {&ds_Main1, "\\music\\main.WAV"},   {&ds_select, "\\music\\select.WAV"},
        {&ds_boss, "\\music\\boss.WAV"},   {&ds_end1, "\\music\\end1.WAV"},    {&ds_end2, "\\music\\end2.WAV"},
        {&ds_staff, "\\music\\staff.WAV"}, {&ds_clear, "\\music\\clear.WAV"},  {&ds_cursor, "\\wave\\select.WAV"},
        {&ds_push, "\\wave\\start.WAV"},   {&ds_miss, "\\wave\\miss.WAV"},     {&ds_get, "\\wave\\get.WAV"},
        {&ds_genkyu, "\\wave\\genkyu.WAV"},
    };
    const bool havePack = BesideProgram(kPicturePack);
    if (havePack) kaDraw::SetPack(kPicturePack);
    kaDraw::SetSpriteColor(kKeyBlue);
    for (const SpriteLoad& s : kSprites) *s.global = LoadPicture(s.name, havePack);
    for (const SoundLoad& s : kSounds) *s.global = kaSound::LoadObject(s.path, kOneMixBuffer);
}
