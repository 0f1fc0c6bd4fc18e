// kaJoystick on the headless backend's scripted joysticks: failed polls and
// bad numbers, the rest position and the thresholds, the ramps over a
// second of frames, and the buttons' edge states.
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "ShellFixture.h"
#include "draw/kaDraw.h"
#include "shell/Globals.h"
#include "shell/kaJoystick.h"
#include "shell/kaSystem.h"

namespace shelltest {
namespace {

// Frames of 1/64 s: exact in binary, so a ramp's values are exact too.
constexpr float kFrame = 1.0f / 64;

class JoystickTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Unplug(0);
        Unplug(1);
        kaJoystick::Init();
        FrameTime = kFrame;
    }
    void TearDown() override {
        Unplug(0);
        Unplug(1);
        ShellTest::TearDown();
    }
    static void Plug(int n, uint32_t x = plat::kJoystickRest, uint32_t y = plat::kJoystickRest, uint32_t buttons = 0) {
        plat::ScriptedJoystick s;
        s.x = x;
        s.y = y;
        s.buttons = buttons;
        plat::SetScriptedJoystick(n, &s);
    }
    static void Unplug(int n) { plat::SetScriptedJoystick(n, nullptr); }
    static std::vector<int> Stick(int n) {
        int x = 7, y = 7;
        kaJoystick::Stick(n, &x, &y);
        return {x, y};
    }
    static std::vector<int> AnalogStick(int n) {
        int x = 7, y = 7;
        kaJoystick::AnalogStick(n, &x, &y);
        return {x, y};
    }
};

TEST_F(JoystickTest, WithoutAJoystickEveryReadingIsTheFailureValue) {
    EXPECT_EQ(kaJoystick::Button(0, 1), 0);
    EXPECT_EQ(kaJoystick::ButtonInfo(0, 1), 0);
    EXPECT_EQ(kaJoystick::StickTenkey(0), 5);
    EXPECT_EQ(Stick(0), (std::vector<int>{0, 0}));
    EXPECT_EQ(AnalogStick(1), (std::vector<int>{0, 0}));
    int b[4] = {7, 7, 7, 7};
    kaJoystick::ButtonsInfo(0, &b[0], &b[1], &b[2], &b[3]);
    EXPECT_EQ(std::vector<int>(b, b + 4), (std::vector<int>{0, 0, 0, 0}));
    int cx = 7, cy = 7;
    kaJoystick::CenterPos(0, &cx, &cy);
    EXPECT_EQ(cx, 0);
    EXPECT_EQ(cy, 0);
}

TEST_F(JoystickTest, BadJoystickOrButtonNumbersActAsAFailedPollAndTouchNoState) {
    Plug(0, 65535, 65535, 0xF);
    Plug(1, 65535, 65535, 0xF);
    kaJoystick::InitCenter();
    kaJoystick::SetAnalog(0, 50, 50);
    kaJoystick::SetAnalog(1, 50, 50);
    kaJoystick::_analog before[2];
    std::memcpy(before, Analog, sizeof before);
    const int badJoysticks[] = {-1, 2, 1 << 30, std::numeric_limits<int>::min()};
    for (int n : badJoysticks) {
        EXPECT_EQ(kaJoystick::StickTenkey(n), 5) << n;
        EXPECT_EQ(kaJoystick::Button(n, 1), 0) << n;
        EXPECT_EQ(kaJoystick::ButtonInfo(n, 1), 0) << n;
        EXPECT_EQ(kaJoystick::AnalogButton(n, 1), 0) << n;
        EXPECT_EQ(AnalogStick(n), (std::vector<int>{0, 0})) << n;
        int x = 7, y = 7;
        kaJoystick::CenterPos(n, &x, &y);
        kaJoystick::StickPos(n, &x, &y);
        EXPECT_EQ(x + y, 0) << n;
        int b[4] = {7, 7, 7, 7};
        kaJoystick::AnalogButtons(n, &b[0], &b[1], &b[2], &b[3]);
        kaJoystick::ButtonsInfo(n, &b[0], &b[1], &b[2], &b[3]);
        EXPECT_EQ(b[0] + b[1] + b[2] + b[3], 0) << n;
        kaJoystick::SetAnalog(n, 99, 99);
    }
    for (int b : {0, 5, -1, 32, 1 << 30}) {
        EXPECT_EQ(kaJoystick::Button(0, b), 0) << b;
        EXPECT_EQ(kaJoystick::ButtonInfo(0, b), 0) << b;
        EXPECT_EQ(kaJoystick::AnalogButton(0, b), 0) << b;
    }
    EXPECT_EQ(std::memcmp(before, Analog, sizeof before), 0);

    // Outputs not wanted may be null.
    kaJoystick::Stick(0, nullptr, nullptr);
    kaJoystick::AnalogStick(0, nullptr, nullptr);
    kaJoystick::StickPos(0, nullptr, nullptr);
    kaJoystick::CenterPos(0, nullptr, nullptr);
    kaJoystick::Buttons(0, nullptr, nullptr, nullptr, nullptr);
    kaJoystick::ButtonsInfo(0, nullptr, nullptr, nullptr, nullptr);
    kaJoystick::AnalogButtons(0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(Analog[0].InfoB[0], 1);  // the step still happened
}

TEST_F(JoystickTest, ThresholdsAroundTheRestPositionGiveKeypadDirections) {
    Plug(0, 30000, 35000);  // near the middle: the dead zone makes it the rest
    kaJoystick::InitCenter();
    int cx = 0, cy = 0;
    kaJoystick::CenterPos(0, &cx, &cy);
    EXPECT_EQ(cx, 32767);
    EXPECT_EQ(cy, 32767);
    struct Case {
        uint32_t x, y;
        int tenkey;
    };
    const Case cases[] = {
        {16383, 16383, 7}, {16384, 16383, 8}, {49149, 16383, 8}, {49150, 16383, 9},
        {16383, 32767, 4}, {32767, 32767, 5}, {65535, 32767, 6},
        {0, 49150, 1},     {32767, 49150, 2}, {49150, 65535, 3}, {49150, 49149, 6},
    };
    for (const Case& c : cases) {
        Plug(0, c.x, c.y);
        EXPECT_EQ(kaJoystick::StickTenkey(0), c.tenkey) << c.x << "," << c.y;
        const int h = (c.tenkey - 1) % 3 - 1, v = 1 - (c.tenkey - 1) / 3;
        EXPECT_EQ(Stick(0), (std::vector<int>{h, v})) << c.x << "," << c.y;
    }
    // Within the dead zone the raw reading is the rest position itself.
    for (uint32_t x : {32767u - 8192u, 32767u + 8192u, 32767u - 8193u, 32767u + 8193u}) {
        Plug(0, x, 32767);
        int px = 0, py = 0;
        kaJoystick::StickPos(0, &px, &py);
        const bool inside = x == 32767u - 8192u || x == 32767u + 8192u;
        EXPECT_EQ(px, inside ? 32767 : static_cast<int>(x));
        EXPECT_EQ(py, 32767);
    }
}

TEST_F(JoystickTest, AJoystickPluggedInLaterKeepsRestZeroUntilInitCenter) {
    Plug(1);  // at rest, but after start-up
    EXPECT_EQ(kaJoystick::StickTenkey(1), 3);  // everything above 0 is right and down
    Plug(1, 0, 0);
    EXPECT_EQ(kaJoystick::StickTenkey(1), 7);
    Plug(1);
    kaJoystick::InitCenter();
    EXPECT_EQ(kaJoystick::StickTenkey(1), 5);
    EXPECT_EQ(kaJoystick::StickTenkey(0), 5);  // still none there
}

TEST_F(JoystickTest, StickRampRisesAndFallsBackAtItsSpeedWithinBounds) {
    Plug(0);
    kaJoystick::InitCenter();
    kaJoystick::SetAnalog(0, 50, 200);
    Plug(0, 65535, 0);  // right and up
    std::vector<int> x, y;
    for (int frame = 0; frame < 64 * 3; ++frame) {
        std::vector<int> xy = AnalogStick(0);
        x.push_back(xy[0]);
        y.push_back(xy[1]);
    }
    EXPECT_EQ(x[31], 25);  // half a second at 50 per second
    EXPECT_EQ(x[63], 50);
    EXPECT_EQ(y[63], -50);
    EXPECT_EQ(x[127], 100);
    EXPECT_EQ(x.back(), 100);  // held on: capped
    EXPECT_EQ(y.back(), -100);
    Plug(0);
    for (int frame = 0; frame < 64; ++frame) AnalogStick(0);
    EXPECT_EQ(Analog[0].X, 50.0f);
    for (int frame = 0; frame < 128; ++frame) AnalogStick(0);
    EXPECT_EQ(Analog[0].X, 0.0f);  // exactly back, not past
    EXPECT_EQ(Analog[0].Y, 0.0f);
    kaJoystick::SetAnalog(0, 0, 0);  // speeds 0: nothing moves
    Plug(0, 65535, 65535);
    EXPECT_EQ(AnalogStick(0), (std::vector<int>{0, 0}));
}

TEST_F(JoystickTest, ButtonRampClimbsCapsAndDropsAtRelease) {
    Plug(0, 32767, 32767, 0x1);
    kaJoystick::SetAnalog(0, 50, 200);
    std::vector<int> values;
    for (int frame = 0; frame < 40; ++frame) values.push_back(kaJoystick::AnalogButton(0, 1));
    EXPECT_EQ(values[7], 25);  // 8 frames at 200 per second
    EXPECT_EQ(values[31], 100);
    EXPECT_EQ(values.back(), 100);
    Plug(0, 32767, 32767, 0x2);
    EXPECT_EQ(kaJoystick::AnalogButton(0, 1), 0);
    int b[4];
    kaJoystick::AnalogButtons(0, &b[0], &b[1], &b[2], &b[3]);
    EXPECT_EQ(std::vector<int>(b, b + 4), (std::vector<int>{0, 3, 0, 0}));
    Unplug(0);  // a failed poll: all outputs 0, the values kept
    kaJoystick::AnalogButtons(0, &b[0], &b[1], &b[2], &b[3]);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(Analog[0].B[1], 3.125f);
}

TEST_F(JoystickTest, ANegativeOrBrokenSpeedNeverDrivesValuesOutOfRange) {
    Plug(0);
    kaJoystick::InitCenter();
    const float speeds[] = {-50.0f, -1e30f, std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(), std::nanf("")};
    const uint32_t positions[] = {65535, 32767, 0};
    for (float speed : speeds) {
        kaJoystick::SetAnalog(0, speed, speed);
        for (uint32_t p : positions) {
            Plug(0, p, p, p == 32767 ? 0 : 0xF);
            for (int frame = 0; frame < 100; ++frame) {
                int x, y;
                kaJoystick::AnalogStick(0, &x, &y);
                const int b = kaJoystick::AnalogButton(0, 2);
                ASSERT_TRUE(x >= -100 && x <= 100 && y >= -100 && y <= 100) << speed << " " << x << "," << y;
                ASSERT_TRUE(b >= 0 && b <= 100) << speed << " " << b;
                ASSERT_FALSE(std::isnan(Analog[0].X) || std::isnan(Analog[0].B[1])) << speed;
            }
        }
    }
}

TEST_F(JoystickTest, ButtonEdgesStepThroughPressHeldReleaseAndAreSilencedByFadesHelpAndLock) {
    std::vector<int> states;
    for (uint32_t held : {1u, 1u, 1u, 0u, 0u}) {
        Plug(0, 32767, 32767, held ? 0x4 : 0);
        states.push_back(kaJoystick::ButtonInfo(0, 3));
    }
    EXPECT_EQ(states, (std::vector<int>{1, 3, 3, 2, 0}));

    Plug(0, 32767, 32767, 0x9);  // buttons 1 and 4
    int b[4];
    kaJoystick::ButtonsInfo(0, &b[0], &b[1], &b[2], &b[3]);
    EXPECT_EQ(std::vector<int>(b, b + 4), (std::vector<int>{1, 0, 0, 1}));
    Unplug(0);  // a failed poll leaves the states as they were
    EXPECT_EQ(kaJoystick::ButtonInfo(0, 1), 0);
    Plug(0, 32767, 32767, 0x9);
    EXPECT_EQ(kaJoystick::ButtonInfo(0, 1), 3);

    int* silencers[] = {&kaDraw::FadeNo, &kaDraw::HelpOn, &kaSystem::KeyboardLock};
    for (int* silencer : silencers) {
        *silencer = 1;
        EXPECT_EQ(kaJoystick::ButtonInfo(0, 4), 0);
        *silencer = 0;
        EXPECT_EQ(kaJoystick::ButtonInfo(0, 4), 1);  // seen afresh as a press
    }
    kaJoystick::Buttons(0, &b[0], &b[1], &b[2], &b[3]);
    EXPECT_EQ(std::vector<int>(b, b + 4), (std::vector<int>{1, 0, 0, 1}));
}

}  // namespace
}  // namespace shelltest
