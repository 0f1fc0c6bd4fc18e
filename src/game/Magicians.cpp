// Magicians of the last stage: every 200 frames they appear on the four sides
// of the player, stay put (drawn until frame 150, dangerous until 200) and
// vanish.
#include "draw/kaDraw.h"
#include "game/Assets.h"
#include "game/Enemies.h"
#include "game/GameState.h"
#include "game/Player.h"

mhoutukai m;
int m_count = 0;
int m_hantei_flag = 0;
int m_anime_time = 0;

namespace {

constexpr int kLastStage = 11;
constexpr int kMagicianDistance = 96;
constexpr int kAppearFrame = 10;
constexpr int kLastDrawnFrame = 150;
constexpr int kCycleFrames = 200;

void PlaceAroundPlayer() {
    m.x[0] = px - kMagicianDistance, m.y[0] = py;
    m.x[1] = px + kMagicianDistance, m.y[1] = py;
    m.x[2] = px, m.y[2] = py + kMagicianDistance;
    m.x[3] = px, m.y[3] = py - kMagicianDistance;
}

}  // namespace

void m_init() {
    if (stage_no != kLastStage) {
        m_count = kEmptySlot;
        return;
    }
    m_count = 3;
    PlaceAroundPlayer();
    m_hantei_flag = 0;
}

void mahoutukai_move() {
    if (m_count == kEmptySlot) return;
    ++m_anime_time;
    if (m_anime_time >= kAppearFrame && m_anime_time <= kLastDrawnFrame) {
        if (m_hantei_flag == 0) {
            PlaceAroundPlayer();
            m_hantei_flag = 1;
        }
        // Each faces the player: the left one looks right, the one below is
        // seen from behind, the one above from the front.
        kaDraw::Layer(m.x[0], m.y[0], m_right, 0, 0, 32, 32);
        kaDraw::Layer(m.x[1], m.y[1], m_left, 0, 0, 32, 32);
        kaDraw::Layer(m.x[2], m.y[2], m_usiro, 0, 0, 32, 32);
        kaDraw::Layer(m.x[3], m.y[3], m_mae, 0, 0, 32, 32);
    } else if (m_anime_time >= kCycleFrames) {
        m_anime_time = 0;
        m_hantei_flag = 0;
    }
}

void mahoutukai_main() { mahoutukai_move(); }
