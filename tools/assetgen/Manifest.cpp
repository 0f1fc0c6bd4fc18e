// The game's load order: sprites 4..41 and sounds 0..12 follow this order.
#include "Manifest.h"

namespace assetgen {

const std::vector<PictureEntry>& Pictures() {
    static const std::vector<PictureEntry> kPictures = {
        {"op", 640, 480},         {"STAGE_SELECT", 640, 480}, {"CURSOR", 64, 64},    {"BATU", 32, 32},
        {"BLOCK_G", 32, 32},      {"BLOCK_C", 32, 32},        {"BLOCK_HOSI", 32, 32}, {"BLOCK_YARI", 32, 32},
        {"P_LEFT1", 32, 32},      {"P_LEFT2", 32, 32},        {"P_RIGHT1", 32, 32},  {"P_RIGHT2", 32, 32},
        {"P_USIRO1", 32, 32},     {"P_USIRO2", 32, 32},       {"P_USIRO3", 32, 32},  {"P_MAE1", 32, 32},
        {"P_MAE2", 32, 32},       {"P_MAE3", 32, 32},         {"P_CLEAR", 32, 32},   {"SURAIMU_G", 32, 32},
        {"SURAIMU_R", 32, 32},    {"M_LEFT", 32, 32},         {"M_RIGHT", 32, 32},   {"M_USIRO", 32, 32},
        {"M_MAE", 32, 32},        {"TAKARA", 32, 32},         {"TAKARA2", 32, 32},   {"BALL_P", 64, 64},
        {"BALL_G", 64, 64},       {"BALL_B", 64, 64},         {"BALL_R", 64, 64},    {"BALL_S", 64, 64},
        {"WINDOW", 640, 128},     {"END1A", 640, 480},        {"END1B", 640, 480},   {"END2", 640, 480},
        {"STAFF", 640, 480},      {"EVENT", 640, 480},
    };
    return kPictures;
}

const std::vector<SoundEntry>& Sounds() {
    static const std::vector<SoundEntry> kSounds = {
        {"music/op", "music/op.WAV", true},         {"music/main", "music/main.WAV", true},
        {"music/select", "music/select.WAV", true}, {"music/boss", "music/boss.WAV", true},
        {"music/end1", "music/end1.WAV", true},     {"music/end2", "music/end2.WAV", true},
        {"music/staff", "music/staff.WAV", true},   {"music/clear", "music/clear.WAV", false},
        {"sounds/select", "wave/select.WAV", false}, {"sounds/start", "wave/start.WAV", false},
        {"sounds/miss", "wave/miss.WAV", false},     {"sounds/get", "wave/get.WAV", false},
        {"sounds/genkyu", "wave/genkyu.WAV", false},
    };
    return kSounds;
}

}  // namespace assetgen
