#include "engine/joystick_map.h"
#include "tests/support/bind_builders.h"
#include "tests/support/virtual_joystick.h"

#include <gtest/gtest.h>

namespace padloom::test {
namespace {

class JoystickMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sdl.ok()) << SDL_GetError();
        ASSERT_TRUE(pad.attached()) << SDL_GetError();
        ASSERT_GE(pad.deviceIndex(), 0);
        map.open(pad.deviceIndex());
    }

    SdlJoystickSession sdl;
    VirtualJoystick pad{4, 12, 1};
    VirtualJoystick hatless{2, 4, 0};
    JoystickMap map;
};

TEST_F(JoystickMapTest, OpenTakesTheDeviceCountsFromSdl) {
    EXPECT_EQ(map.axisCount, 4);
    EXPECT_EQ(map.buttonCount, 12);
    EXPECT_EQ(map.hatCount, 1);
    EXPECT_EQ(map.instanceId, pad.instanceId());
    EXPECT_NE(map.joystick, nullptr);
    for (int axis = 0; axis < 4; ++axis) {
        EXPECT_EQ(map.axisValues[axis], 0.0f);
        EXPECT_EQ(map.axisDeadZones[axis], 0.0f);
    }
}

TEST_F(JoystickMapTest, ADeviceThatCannotBeOpenedRefusesEveryBind) {
    JoystickMap missing;
    missing.open(SDL_NumJoysticks() + 3);
    EXPECT_EQ(missing.joystick, nullptr);
    EXPECT_EQ(missing.axisCount + missing.buttonCount + missing.hatCount, 0);
    EXPECT_FALSE(missing.attachBind(buttonIn(0), keyOut(4)));
    EXPECT_FALSE(missing.attachBind(axisIn(0, 1), keyOut(4)));
}

struct AttachCase {
    const char* what;
    BindInput input;
    BindOutput output;
    bool attached;
};

TEST_F(JoystickMapTest, BindsOnMissingControlsOrOutOfRangeOutputsAreRefused) {
    const AttachCase cases[] = {
        {"last button", buttonIn(11), keyOut(44), true},
        {"button past the last", buttonIn(12), keyOut(44), false},
        {"negative button", buttonIn(static_cast<uint32_t>(-1)), keyOut(44), false},
        {"last axis", axisIn(3, -1), keyOut(44), true},
        {"axis past the last", axisIn(4, 1), motionOut(0, 1, 6), false},
        {"hat", hatIn(0, 8), keyOut(44), true},
        {"hat past the last", hatIn(1, 1), keyOut(44), false},
        {"unknown input kind", {InputKind::none, 0, 0, 0}, keyOut(44), false},
        {"input kind 4", {static_cast<InputKind>(4), 0, 0, 0}, keyOut(44), false},
        {"last key number", buttonIn(0), keyOut(314), true},
        {"key number past the table", buttonIn(0), keyOut(315), false},
        {"key number past the table on an axis", axisIn(0, 1), keyOut(400), false},
        {"key number past the table on a hat", hatIn(0, 1), keyOut(0x80000000u), false},
        {"mouse button 7", buttonIn(0), mouseButtonOut(7), true},
        {"mouse button 8", buttonIn(0), mouseButtonOut(8), false},
        {"mouse button 8 on an axis", axisIn(0, -1), mouseButtonOut(8), false},
        {"motion code is a direction, not an index", buttonIn(0), motionOut(1000, 1, 6), true},
    };
    for (const AttachCase& c : cases) {
        EXPECT_EQ(map.attachBind(c.input, c.output), c.attached) << c.what;
    }
    JoystickMap noHats;
    noHats.open(hatless.deviceIndex());
    EXPECT_FALSE(noHats.attachBind(hatIn(0, 8), keyOut(4))) << "hat on a device without hats";
}

TEST_F(JoystickMapTest, ButtonBindsKeepPresetOrder) {
    ASSERT_TRUE(map.attachBind(buttonIn(3), keyOut(4)));
    ASSERT_TRUE(map.attachBind(buttonIn(3), mouseButtonOut(1)));
    ASSERT_TRUE(map.attachBind(buttonIn(3), wheelStepOut(1, -1)));
    const auto& binds = map.buttonBinds[3];
    ASSERT_EQ(binds.size(), 3u);
    EXPECT_EQ(binds[0].kind, OutputKind::key);
    EXPECT_EQ(binds[1].kind, OutputKind::mouseButton);
    EXPECT_EQ(binds[2].kind, OutputKind::wheelStep);
    EXPECT_EQ(binds[2].sign, -1);
}

struct ThresholdCase {
    BindOutput output;
    float threshold;
};

TEST_F(JoystickMapTest, AxisThresholdDependsOnTheOutputKindOnly) {
    const ThresholdCase cases[] = {
        {keyOut(4), 0.42f},         {mouseButtonOut(0), 0.42f}, {wheelStepOut(0, 1), 0.42f},
        {motionOut(0, 1, 6), 0.0f}, {wheelOut(1, -1, 3), 0.0f},
    };
    for (const ThresholdCase& c : cases) {
        BindInput input = axisIn(2, -1);
        input.threshold = 0.9f; // the preset's own number is not used
        ASSERT_TRUE(map.attachBind(input, c.output));
        const AxisBind& bind = map.axisBinds[2].back();
        EXPECT_EQ(bind.threshold, c.threshold) << static_cast<int>(c.output.kind);
        EXPECT_EQ(bind.direction, -1);
        EXPECT_FALSE(bind.active);
    }
}

TEST_F(JoystickMapTest, DeadZoneOfAMissingAxisIsIgnored) {
    map.setAxisDeadZone(1, 0.15f);
    map.setAxisDeadZone(4, 0.5f);
    map.setAxisDeadZone(static_cast<uint32_t>(-1), 0.5f);
    EXPECT_EQ(map.axisDeadZones[1], 0.15f);
    EXPECT_EQ(map.axisDeadZones[3], 0.0f);
}

} // namespace
} // namespace padloom::test
