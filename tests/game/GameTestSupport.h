// Shared set-up of the game tests: a fresh game before each test, frames run
// with one key held, stages emptied for hand-made situations, and a log of
// the sound cues.
#pragma once

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game/Enemies.h"
#include "game/GameState.h"
#include "game/Player.h"
#include "game/SoundCues.h"
#include "game/StageMaps.h"
#include "shell/Globals.h"

class GameTest : public ::testing::Test {
public:
    using Cue = std::pair<CueAction, SoundCue>;

    void SetUp() override {
        ResetGameGlobals();
        PushKey = 0;
        Log().clear();
        cueListener = [](CueAction action, SoundCue cue) { Log().push_back({action, cue}); };
    }
    void TearDown() override {
        cueListener = nullptr;
        PushKey = 0;
    }

    static std::vector<Cue>& Log() {
        static std::vector<Cue> log;
        return log;
    }
    static int CountCues(CueAction action, SoundCue cue) {
        int n = 0;
        for (const Cue& c : Log()) n += c.first == action && c.second == cue;
        return n;
    }

    // One frame of the current scene with `key` held (0: no key).
    static void Frame(unsigned key = 0) {
        PushKey = key;
        RunScene();
    }
    static void Frames(int n, unsigned key = 0) {
        for (int i = 0; i < n; ++i) Frame(key);
    }

    // Stage `n` as if just started from the select, already in play.
    static void StartStage(int n) {
        stage_no = n;
        init_general();
        state = kScenePlay;
    }

    // Stage `n` with an all-floor grid, no enemies, and the player at (x, y)
    // already walking in `dir`.
    static void EmptyStage(int n, int x, int y, int dir) {
        StartStage(n);
        for (auto& row : map[n])
            for (int& cell : row) cell = kTileFloor;
        ResetEnemySlots();
        m_count = kEmptySlot;
        px = x;
        py = y;
        p_key_state = dir;
        p_z_key_flag = 0;
    }

    // Puts slime slot `i` at (x, y), the only slot the loops visit up to `i`.
    static void PlaceSlime(int i, int x, int y, int speed, int move) {
        s.x[i] = x;
        s.y[i] = y;
        s.speed[i] = speed;
        s.color[i] = 0;
        s.move[i] = move;
        if (s_count < i) s_count = i;
    }
};
