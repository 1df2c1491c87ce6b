// Values that move: counters and ramps, computed from the clock whenever they are read.
#include "standin_test_support.h"

namespace standin_test {
namespace {

using Bytes = std::vector<uint8_t>;

class AnimationTest : public StandinTest {
  protected:
    void SetUp() override {
        StandinTest::SetUp();
        Load(
            "plc 2\n db 1 32\n"
            " counter word DB1.0 1000\n"
            " counter byte M0 250\n"
            " counter dint DB1.2 1\n"
            " ramp word DB1.6 100 300 4000\n"
            " ramp real DB1.8 0 100 20000\n"
            " ramp int DB1.12 -50 50 1000\n");
    }

    static Bytes At(long long ms, int area, int start, int count) {
        S7StandinFreezeClock(ms);
        return Peek(2, area, 1, start, count);
    }
};

TEST_F(AnimationTest, CountersStepWithTimeAndWrap) {
    struct Case {
        long long ms;
        Bytes word;    // DB1.0, +1 each second
        Bytes marker;  // M0, +1 each 250 ms
    };
    const Case cases[] = {
        {0, {0, 0}, {0}},
        {999, {0, 0}, {3}},
        {1000, {0, 1}, {4}},
        {64000, {0, 64}, {0}},      // 256 steps: the byte wraps
        {65536000LL, {0, 0}, {0}},  // 65536 steps: the word wraps
        {65537000LL + 250, {0, 1}, {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(At(c.ms, S7_STANDIN_DATA_BLOCK, 0, 2), c.word);
        EXPECT_EQ(At(c.ms, S7_STANDIN_MARKERS, 0, 1), c.marker);
    }
    EXPECT_EQ(At(0x12345678LL, S7_STANDIN_DATA_BLOCK, 2, 4), (Bytes{0x12, 0x34, 0x56, 0x78}));
}

// Up from low to high in the first half of the period, back down in the second.
TEST_F(AnimationTest, RampsMoveBetweenTheirBoundsOverThePeriod) {
    struct Case {
        long long ms;
        Bytes word;     // 100..300 over 4 s
        Bytes real;     // 0..100 over 20 s
        Bytes integer;  // -50..50 over 1 s
    };
    const Case cases[] = {
        {0, {0, 100}, {0, 0, 0, 0}, {0xFF, 0xCE}},
        {1000, {0, 200}, {0x41, 0x20, 0, 0}, {0xFF, 0xCE}},      // real 10.0
        {2000, {0x01, 0x2C}, {0x41, 0xA0, 0, 0}, {0xFF, 0xCE}},  // word 300, real 20.0
        {3000, {0, 200}, {0x41, 0xF0, 0, 0}, {0xFF, 0xCE}},
        {10000, {0x01, 0x2C}, {0x42, 0xC8, 0, 0}, {0xFF, 0xCE}},  // the top: 300 and 100.0
        {10250, {0x01, 0x13}, {0x42, 0xC3, 0, 0}, {0, 0}},        // 275, 97.5, int 0
        {10500, {0, 250}, {0x42, 0xBE, 0, 0}, {0, 50}},           // 250, 95.0, int at the top
        {15000, {0, 200}, {0x42, 0x48, 0, 0}, {0xFF, 0xCE}},      // 200, 50.0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(At(c.ms, S7_STANDIN_DATA_BLOCK, 6, 2), c.word);
        EXPECT_EQ(At(c.ms, S7_STANDIN_DATA_BLOCK, 8, 4), c.real);
        EXPECT_EQ(At(c.ms, S7_STANDIN_DATA_BLOCK, 12, 2), c.integer);
    }
}

// A PLC program that writes the value on every cycle wins over a write from outside.
TEST_F(AnimationTest, AnimationOverwritesWritesOnTheNextRead) {
    ASSERT_EQ(Link({{2, 2}}), 0);
    S7StandinFreezeClock(5000);
    uint8_t bytes[2] = {0xAB, 0xCD};
    ASSERT_EQ(d_field_write(1, 0, 2, bytes), 0);
    ASSERT_EQ(d_field_read(1, 0, 2, bytes), 0);
    EXPECT_EQ(Bytes(bytes, bytes + 2), (Bytes{0, 5}));
}

TEST_F(AnimationTest, ARunningClockMovesTheValues) {
    S7StandinRunClock();
    const Bytes first = Peek(2, S7_STANDIN_DATA_BLOCK, 1, 8, 4);
    Bytes later = first;
    for (int i = 0; i < 100000 && later == first; ++i)
        later = Peek(2, S7_STANDIN_DATA_BLOCK, 1, 8, 4);
    EXPECT_NE(later, first);  // a 20 s ramp over 0..100 moves within a few milliseconds
}

}  // namespace
}  // namespace standin_test
