// Joystick and pad polls on SDL's devices, driven through SDL's virtual
// joysticks: axis range and dead zone, buttons, what a poll is asked for,
// the order of devices, plugging in and out, and game controllers read
// through their mapping.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/Joystick.h"
#include "platform/Options.h"

namespace {

// The virtual controller's layout as SDL maps it.
constexpr int kButtonA = 0, kButtonY = 3, kButtonBack = 4, kButtonStart = 6, kDpadUp = 11, kDpadLeft = 13;

class JoystickSdlTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::SetOptions(plat::Options{});  // with a window: SDL's devices
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        if (SDL_NumJoysticks() != 0) GTEST_SKIP() << "a real joystick is attached";
        plat::JoystickConfigChanged();
    }
    void TearDown() override {
        plat::JoystickConfigChanged();
        for (SDL_Joystick* j : opened_) SDL_JoystickClose(j);
        while (SDL_NumJoysticks() > 0 && SDL_JoystickDetachVirtual(0) == 0) {
        }
    }
    // Plugs in a virtual device; returns it opened, for setting its inputs.
    SDL_Joystick* Attach(SDL_JoystickType type, int axes, int buttons, int hats) {
        const int index = SDL_JoystickAttachVirtual(type, axes, buttons, hats);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* j = SDL_JoystickOpen(index);
        EXPECT_NE(j, nullptr);
        opened_.push_back(j);
        return j;
    }
    static plat::JoystickInfo Poll(int n, uint32_t flags = plat::JOY_RETURNALL | plat::JOY_USEDEADZONE) {
        plat::JoystickInfo info;
        info.flags = flags;
        info.x = info.y = 1;  // marks fields not filled
        EXPECT_TRUE(plat::PollJoystick(n, &info)) << n;
        return info;
    }
    std::vector<SDL_Joystick*> opened_;
};

TEST_F(JoystickSdlTest, AxesSpanTheUnsignedRangeWithTheDeadZoneAroundTheRest) {
    SDL_Joystick* j = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    struct Case {
        Sint16 axis;
        uint32_t withDeadZone, raw;
    };
    const Case cases[] = {
        {-32768, 0, 0},         {32767, 65535, 65535},  {0, 32767, 32768},
        {8000, 32767, 40768},   {-8192, 32767, 24576},  {8192, 40960, 40960},
        {-9000, 23768, 23768},  {-16384, 16384, 16384},
    };
    for (const Case& c : cases) {
        SDL_JoystickSetVirtualAxis(j, 0, c.axis);
        SDL_JoystickSetVirtualAxis(j, 1, static_cast<Sint16>(-c.axis - 1));
        EXPECT_EQ(Poll(0).x, c.withDeadZone) << c.axis;
        EXPECT_EQ(Poll(0, plat::JOY_RETURNX).x, c.raw) << c.axis;
        EXPECT_EQ(Poll(0).y, plat::ApplyDeadZone(65535 - c.raw)) << c.axis;
    }
}

TEST_F(JoystickSdlTest, ButtonsAreABitMaskAndOnlyWhatIsAskedForIsFilled) {
    SDL_Joystick* j = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 6, 0);
    SDL_JoystickSetVirtualButton(j, 0, 1);
    SDL_JoystickSetVirtualButton(j, 3, 1);
    SDL_JoystickSetVirtualButton(j, 5, 1);
    SDL_JoystickSetVirtualAxis(j, 0, 32767);
    plat::JoystickInfo info = Poll(0, plat::JOY_RETURNBUTTONS);
    EXPECT_EQ(info.buttons, 0x29u);
    EXPECT_EQ(info.x, 1u);  // not asked for
    EXPECT_EQ(info.y, 1u);
    info = Poll(0, plat::JOY_RETURNX | plat::JOY_RETURNY);
    EXPECT_EQ(info.x, 65535u);
    EXPECT_EQ(info.buttons, 0u);  // left at its default
}

TEST_F(JoystickSdlTest, SlotsFollowTheFirstTwoDevicesAsTheyArePluggedInAndOut) {
    plat::JoystickInfo info;
    info.flags = plat::JOY_RETURNALL;
    EXPECT_FALSE(plat::PollJoystick(0, &info));
    SDL_Joystick* first = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    SDL_JoystickSetVirtualButton(first, 0, 1);
    EXPECT_EQ(Poll(0).buttons, 1u);
    EXPECT_FALSE(plat::PollJoystick(1, &info));
    EXPECT_FALSE(plat::PollJoystick(-1, &info));
    EXPECT_FALSE(plat::PollJoystick(2, &info));

    SDL_Joystick* second = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);  // plugged in while running
    SDL_JoystickSetVirtualButton(second, 1, 1);
    EXPECT_EQ(Poll(1).buttons, 2u);
    SDL_Joystick* third = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 2, 4, 0);
    SDL_JoystickSetVirtualButton(third, 2, 1);
    EXPECT_EQ(Poll(0).buttons, 1u);
    EXPECT_EQ(Poll(1).buttons, 2u);  // a third device changes nothing

    ASSERT_EQ(SDL_JoystickDetachVirtual(0), 0);  // the first goes: the others move up
    EXPECT_EQ(Poll(0).buttons, 2u);
    EXPECT_EQ(Poll(1).buttons, 4u);
    SDL_JoystickDetachVirtual(1);
    SDL_JoystickDetachVirtual(0);
    EXPECT_FALSE(plat::PollJoystick(0, &info));
}

TEST_F(JoystickSdlTest, GameControllersReadThroughTheirMappingAndHatsSteerPlainJoysticks) {
    SDL_Joystick* plain = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, 0, 2, 1);  // a hat, no axes
    SDL_Joystick* pad = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 15, 0);
    SDL_JoystickSetVirtualHat(plain, 0, SDL_HAT_LEFTUP);
    plat::JoystickInfo info = Poll(0);
    EXPECT_EQ(info.x, 0u);
    EXPECT_EQ(info.y, 0u);

    SDL_JoystickSetVirtualButton(pad, kButtonA, 1);
    SDL_JoystickSetVirtualButton(pad, kButtonY, 1);
    SDL_JoystickSetVirtualAxis(pad, 1, 32767);  // left stick down
    info = Poll(1);
    EXPECT_EQ(info.buttons, 0x9u);  // buttons 1 (A) and 4 (Y)
    EXPECT_EQ(info.x, 32767u);
    EXPECT_EQ(info.y, 65535u);
    SDL_JoystickSetVirtualButton(pad, kDpadLeft, 1);  // the D-pad drives the axes
    SDL_JoystickSetVirtualButton(pad, kDpadUp, 1);
    info = Poll(1);
    EXPECT_EQ(info.x, 0u);
    EXPECT_EQ(info.y, 0u);

    // The pad is the first game controller, not device 0.
    SDL_JoystickSetVirtualButton(pad, kButtonStart, 1);
    SDL_JoystickSetVirtualButton(pad, kButtonBack, 1);
    SDL_JoystickSetVirtualAxis(pad, 0, -20000);
    plat::GamepadState state;
    ASSERT_TRUE(plat::PollGamepad(&state));
    EXPECT_TRUE(state.a && state.y && state.start && state.back && state.left && state.up);
    EXPECT_FALSE(state.b || state.x || state.right || state.down);
    EXPECT_EQ(state.stickX, -20000);
    EXPECT_EQ(state.stickY, 32767);
    SDL_JoystickDetachVirtual(1);
    EXPECT_FALSE(plat::PollGamepad(&state));
}

}  // namespace
