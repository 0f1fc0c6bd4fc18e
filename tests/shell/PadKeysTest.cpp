// The pad as keys: which arrow a pad holds (D-pad, stick, the newest
// direction first), and the key messages the loop's poll posts through the
// window procedure, on the headless backend's scripted pad.
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "shell/Globals.h"
#include "shell/PadKeys.h"

namespace shelltest {
namespace {

plat::GamepadState Pad(const std::string& held, int stickX = 0, int stickY = 0) {
    plat::GamepadState p;
    p.up = held.find('U') != std::string::npos;
    p.down = held.find('D') != std::string::npos;
    p.left = held.find('L') != std::string::npos;
    p.right = held.find('R') != std::string::npos;
    p.a = held.find('A') != std::string::npos;
    p.start = held.find('S') != std::string::npos;
    p.back = held.find('B') != std::string::npos;
    p.stickX = stickX;
    p.stickY = stickY;
    return p;
}

// The arrows chosen over a sequence of pad states, one step each (A, Start
// and Back are followed through the messages below).
std::vector<unsigned> Arrows(const std::vector<plat::GamepadState>& pads) {
    shell::PadKeys keys;
    std::vector<unsigned> arrows;
    for (const plat::GamepadState& p : pads) {
        keys = shell::PadKeysFor(p, keys);
        arrows.push_back(keys.arrow);
    }
    return arrows;
}

TEST(PadKeysForTest, OneArrowAtATimeTheNewestDirectionWinning) {
    struct Case {
        const char* what;
        std::vector<plat::GamepadState> pads;
        std::vector<unsigned> arrows;
    };
    const Case cases[] = {
        {"D-pad press and release", {Pad("R"), Pad("R"), Pad("")}, {VK_RIGHT, VK_RIGHT, 0}},
        {"a second direction added wins", {Pad("R"), Pad("RU"), Pad("RU")}, {VK_RIGHT, VK_UP, VK_UP}},
        {"letting go of it falls back", {Pad("R"), Pad("RU"), Pad("R")}, {VK_RIGHT, VK_UP, VK_RIGHT}},
        {"rolled over from one to the next", {Pad("L"), Pad("LD"), Pad("D")}, {VK_LEFT, VK_DOWN, VK_DOWN}},
        {"stick past half way", {Pad("", 16384, 0), Pad("", -32768, 100), Pad("", 0, 20000)},
         {VK_RIGHT, VK_LEFT, VK_DOWN}},
        {"stick short of half way", {Pad("", 16383, 0), Pad("", 0, -16383)}, {0, 0}},
        {"stick: the stronger axis", {Pad("", 20000, -25000), Pad("", 25000, -20000)}, {VK_UP, VK_RIGHT}},
        {"stick held down to three eighths", {Pad("", 0, -20000), Pad("", 0, -12288), Pad("", 0, -12287)},
         {VK_UP, VK_UP, 0}},
        {"but pressed only from half way", {Pad("", 0, -12288), Pad("", 0, -16000)}, {0, 0}},
        {"D-pad over a held stick", {Pad("", 30000, 0), Pad("U", 30000, 0)}, {VK_RIGHT, VK_UP}},
    };
    for (const Case& c : cases) EXPECT_EQ(Arrows(c.pads), c.arrows) << c.what;
}

class PadKeysTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        shell::ResetPadKeys();
        shell::EnablePadKeys(true);
    }
    void TearDown() override {
        plat::SetScriptedGamepad(nullptr);
        shell::ResetPadKeys();
        ShellTest::TearDown();
    }
    // Sets the pad, lets the loop's poll post, dispatches; returns the key
    // messages as "+X" / "-X" with X the key code.
    std::vector<std::string> Step(const plat::GamepadState* pad) {
        plat::SetScriptedGamepad(pad);
        shell::PostPadKeys();
        std::vector<std::string> seen;
        MSG msg;
        while (plat::PeekMessage(&msg)) {
            if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP)
                seen.push_back((msg.message == WM_KEYDOWN ? "+" : "-") + std::to_string(msg.wParam));
            plat::DispatchMessage(&msg);
        }
        return seen;
    }
    std::vector<std::string> Step(const plat::GamepadState& pad) { return Step(&pad); }
};

using Keys = std::vector<std::string>;

TEST_F(PadKeysTest, PadChangesBecomeKeyMessagesThroughTheWindowProcedure) {
    EXPECT_EQ(Step(Pad("R")), (Keys{"+39"}));
    EXPECT_EQ(PushKey, VK_RIGHT);
    EXPECT_TRUE(plat::IsKeyDown(VK_RIGHT));
    EXPECT_EQ(Step(Pad("R")), Keys{});  // held: no auto-repeat
    EXPECT_EQ(Step(Pad("RU")), (Keys{"-39", "+38"}));  // the old arrow goes first
    EXPECT_EQ(PushKey, VK_UP);
    EXPECT_FALSE(plat::IsKeyDown(VK_RIGHT));
    EXPECT_EQ(Step(Pad("UA")), (Keys{"+90"}));
    EXPECT_EQ(PushKey, unsigned('Z'));
    EXPECT_EQ(Step(Pad("US")), Keys{});  // Start while A goes: Z stays down
    EXPECT_EQ(Step(Pad("")), (Keys{"-38", "-90"}));
    EXPECT_EQ(PushKey, 0u);
}

TEST_F(PadKeysTest, APadThatGoesAwayLetsGoOfItsKeys) {
    Step(Pad("DA"));
    EXPECT_EQ(Step(nullptr), (Keys{"-40", "-90"}));
    EXPECT_FALSE(plat::IsKeyDown(VK_DOWN));
    EXPECT_FALSE(plat::IsKeyDown('Z'));
}

TEST_F(PadKeysTest, TurnedOffThePadPostsNothing) {
    shell::EnablePadKeys(false);
    EXPECT_EQ(Step(Pad("RA")), Keys{});
    EXPECT_EQ(PushKey, 0u);
}

TEST_F(PadKeysTest, BackEndsTheProgramAsEscapeDoes) {
    if (TornDown()) GTEST_SKIP() << "the framework is torn down once per process";
    Step(Pad("B"));
    EXPECT_EQ(_CloseEvent, 2);
}

}  // namespace
}  // namespace shelltest
