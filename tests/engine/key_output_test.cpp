#include "engine/output_events.h"
#include "tests/support/manual_seams.h"

#include <gtest/gtest.h>

#include <vector>

namespace padloom::test {
namespace {

class KeyOutput : public ::testing::Test {
protected:
    EngineSeams seams;
    RecordingSink& sink = seams.sink;
};

struct KeyCase {
    uint32_t keyNumber;
    uint16_t keyCode;
};

TEST_F(KeyOutput, KeyNumbersPostTheirVirtualKeyCodesWithCurrentFlags) {
    const KeyCase cases[] = {
        {4, 0},     // A
        {29, 6},    // Z
        {39, 29},   // digit 0
        {44, 49},   // space
        {50, 181},  // non-US hash
        {69, 111},  // F12
        {82, 126},  // up
        {98, 82},   // keypad 0
        {104, 272}, // F13
        {191, 128}, // volume key of the HID page
        {303, 130}, {304, 160},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.keyNumber);
        postKey(c.keyNumber, true);
        postKey(c.keyNumber, false);
        sink.expectKey(c.keyCode, true, 0);
        sink.expectKey(c.keyCode, false, 0);
        sink.expectNoEvents();
    }
}

struct SystemKeyCase {
    uint32_t keyNumber;
    int32_t keyType;
};

TEST_F(KeyOutput, AuxiliaryKeyNumbersPostSystemDefinedEvents) {
    const SystemKeyCase cases[] = {
        {305, 22}, // illumination down
        {306, 21}, // illumination up
        {308, 16}, // play
        {310, 7},  // mute
        {312, 0},  // volume up
        {313, 14}, // eject
    };
    for (const SystemKeyCase& c : cases) {
        SCOPED_TRACE(c.keyNumber);
        postKey(c.keyNumber, true);
        postKey(c.keyNumber, false);
        sink.expectSystemKey(c.keyType, true);
        sink.expectSystemKey(c.keyType, false);
        sink.expectNoEvents();
    }
}

// written: the encoder gives the word for what it says (the word is one the engine posts).
TEST(SystemKeyDataWord, SaysTheKeyTypeWhetherItIsAPressAndTheRepeatFlag) {
    struct Row {
        uint32_t data1;
        SystemKeyData says;
        bool written;
    };
    const Row rows[] = {
        {0x0A00, {0, true}, true},
        {0x0000, {0, false}, true},
        {22 << 16 | 0x0A00, {22, true}, true},
        {22 << 16, {22, false}, true},
        {16 << 16 | 0x0A01, {16, true, true}, true},
        {0xFFFF0A00, {-1, true}, true},
        {14 << 16 | 0x0B00, {14, false}, false}, // 0x0B is a key-up state, not a press
        {7 << 16 | 0x0800, {7, false}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << std::hex << row.data1);
        const SystemKeyData read = decodeSystemKeyData(static_cast<int32_t>(row.data1));
        EXPECT_EQ(read.keyType, row.says.keyType);
        EXPECT_EQ(read.down, row.says.down);
        EXPECT_EQ(read.repeat, row.says.repeat);
        if (row.written) {
            EXPECT_EQ(static_cast<uint32_t>(encodeSystemKeyData(row.says)), row.data1);
        }
    }
}

TEST_F(KeyOutput, NumbersWithoutAKeyPostNothing) {
    // 108, 112, 200, 302 and 314 have no key; 315 and beyond lie past the table.
    for (uint32_t keyNumber : {108u, 112u, 200u, 302u, 314u, 315u, 1000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(keyNumber);
        postKey(keyNumber, true);
        postKey(keyNumber, false);
        sink.expectNoEvents();
    }
    EXPECT_EQ(modifierFlags, 0u);
}

struct ModifierStep {
    uint32_t keyNumber;
    bool down;
    std::optional<uint64_t> postedFlags; // empty: a modifier key's own event
    uint64_t flagsAfter;
};

struct ModifierCase {
    const char* name;
    std::vector<ModifierStep> steps;
};

TEST_F(KeyOutput, ModifierKeysSetTheFlagsThatOtherKeysCarry) {
    const ModifierCase cases[] = {
        {"shift around A",
         {{225, true, {}, shiftFlag},
          {4, true, shiftFlag, shiftFlag},
          {4, false, shiftFlag, shiftFlag},
          {225, false, {}, 0}}},
        {"right shift release clears the flag while left shift is held",
         {{225, true, {}, shiftFlag}, {229, true, {}, shiftFlag}, {229, false, {}, 0}, {4, true, 0, 0}}},
        {"control, option and command combine",
         {{224, true, {}, controlFlag},
          {226, true, {}, controlFlag | optionFlag},
          {227, true, {}, controlFlag | optionFlag | commandFlag},
          {44, true, controlFlag | optionFlag | commandFlag, controlFlag | optionFlag | commandFlag},
          {230, false, {}, controlFlag | commandFlag},
          {231, false, {}, controlFlag},
          {228, false, {}, 0}}},
        {"caps lock changes no flag", {{57, true, {}, 0}, {57, false, {}, 0}}},
    };
    for (const ModifierCase& c : cases) {
        SCOPED_TRACE(c.name);
        modifierFlags = 0;
        sink.clear();
        for (const ModifierStep& step : c.steps) {
            postKey(step.keyNumber, step.down);
            EXPECT_EQ(modifierFlags, step.flagsAfter) << "after key " << step.keyNumber;
        }
        const auto events = sink.events();
        ASSERT_EQ(events.size(), c.steps.size());
        for (size_t i = 0; i < events.size(); ++i) {
            EXPECT_EQ(events[i].flags, c.steps[i].postedFlags) << "event " << i;
        }
    }
}

struct ScrollCase {
    float x;
    float y;
    bool continuous;
    bool posts;
    ScrollUnits units;
    int32_t vertical;
    int32_t horizontal;
};

TEST_F(KeyOutput, ScrollAmountsAreNegatedAndTruncated) {
    const ScrollCase cases[] = {
        {0, 1, false, true, ScrollUnits::lines, -1, 0},
        {-1, 0, false, true, ScrollUnits::lines, 0, 1},
        {0, 0, true, false, {}, 0, 0},
        {0, 0.5f, true, true, ScrollUnits::pixels, 0, 0}, // below one pixel still posts
        {2.9f, -6.7f, true, true, ScrollUnits::pixels, 6, -2},
        // A preset may hold any amount: the event fields are held within their range.
        {0, 1e12f, true, true, ScrollUnits::pixels, INT32_MIN, 0},
        {-1e12f, 0, true, true, ScrollUnits::pixels, 0, INT32_MAX},
    };
    for (const ScrollCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        postScroll(c.x, c.y, c.continuous);
        if (c.posts) {
            sink.expectScroll(c.units, c.vertical, c.horizontal);
        }
        sink.expectNoEvents();
    }
}

} // namespace
} // namespace padloom::test
