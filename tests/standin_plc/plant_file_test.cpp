// Plant files: what they describe, and how a faulty file is refused.
#include <string>

#include "standin_test_support.h"

namespace standin_test {
namespace {

using Bytes = std::vector<uint8_t>;

class PlantFileTest : public StandinTest {};

TEST_F(PlantFileTest, DemoPlantDescribesTwoPlcs) {
    char error[256] = "";
    ASSERT_EQ(S7StandinLoadFile(DEMO_PLANT_FILE, error, sizeof error), 0) << error;
    EXPECT_EQ(Peek(2, S7_STANDIN_DATA_BLOCK, 10, 0, 4), (Bytes{0x2A, 0, 0x04, 0xD2}));
    EXPECT_EQ(Peek(2, S7_STANDIN_DATA_BLOCK, 10, 14, 4), (Bytes{0x40, 0x50, 0, 0}));
    const Bytes label = Peek(2, S7_STANDIN_DATA_BLOCK, 10, 40, 22);
    EXPECT_EQ(label[0], 20);
    EXPECT_EQ(label[1], 12);
    EXPECT_EQ(std::string(label.begin() + 2, label.begin() + 14), "Tank 1 level");
    EXPECT_EQ(label[14], 0);
    EXPECT_EQ(Peek(2, S7_STANDIN_INPUTS, 0, 0, 2), (Bytes{0x05, 0x80}));
    EXPECT_EQ(Peek(2, S7_STANDIN_OUTPUTS, 0, 4, 1), Bytes{0x01});
    EXPECT_EQ(Peek(2, S7_STANDIN_MARKERS, 0, 10, 1), Bytes{0x08});
    EXPECT_EQ(Peek(3, S7_STANDIN_DATA_BLOCK, 20, 2, 6), (Bytes{0x01, 0xF4, 0x41, 0xAC, 0, 0}));

    uint8_t byte = 0;
    EXPECT_EQ(S7StandinReadBytes(2, S7_STANDIN_INPUTS, 0, 127, 1, &byte), 0);
    EXPECT_EQ(S7StandinReadBytes(2, S7_STANDIN_INPUTS, 0, 128, 1, &byte), S7_STANDIN_PAST_AREA_END);
    EXPECT_EQ(S7StandinReadBytes(2, S7_STANDIN_DATA_BLOCK, 12, 0, 1, &byte),
              S7_STANDIN_NO_DATA_BLOCK);
    EXPECT_EQ(S7StandinReadBytes(4, S7_STANDIN_INPUTS, 0, 0, 1, &byte),
              S7_STANDIN_STATION_NOT_ANSWERING);
}

TEST_F(PlantFileTest, ValuesAreStoredMostSignificantByteFirst) {
    Load(
        "# every kind of value\r\n"
        "PLC 5\r\n"
        "DB 1 40   # trailing comment\n"
        "\n"
        "byte  db1.0  255\n"
        "word  DB1.1  0xBEEF\n"
        "int   DB1.3  -5\n"
        "dword DB1.5  4294967295\n"
        "dint  DB1.9  -100000\n"
        "real  DB1.13 -2.5\n"
        "string DB1.17 5 \"a # b\"\n"
        "bytes DB1.24 de AD 0\n");
    EXPECT_EQ(
        Peek(5, S7_STANDIN_DATA_BLOCK, 1, 0, 27),
        (Bytes{0xFF, 0xBE, 0xEF, 0xFF, 0xFB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x79, 0x60, 0xC0,
               0x20, 0,    0,    5,    5,    'a',  ' ',  '#',  ' ',  'b',  0xDE, 0xAD, 0x00}));
}

TEST_F(PlantFileTest, FaultyFilesAreRefusedWithTheLine) {
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"word DB10.0 1", "line 1: 'plc <mpi>' must come first"},
        {"plc 2\nfoo 1", "line 2: unknown keyword 'foo'"},
        {"plc 200", "line 1: MPI address 200 is outside 0..126"},
        {"plc 2\nslot 2\nplc 2", "line 3: PLC 2 is described twice"},
        {"plc 2\nword DB10.0 1",
         "line 2: data block 10 is not described on PLC 2 (add 'db 10 <bytes>' first)"},
        {"plc 2\ndb 10 4\n\n# a comment\ndword DB10.2 1",
         "line 5: dword at byte 2 runs past the end of data block 10 (4 bytes) on PLC 2"},
        {"plc 2\ndb 10 4\nword DB10.0 70000", "line 3: value 70000 does not fit type word"},
        {"plc 2\nint M0 -40000", "line 2: value -40000 does not fit type int"},
        {"plc 2\nbyte M0 1.5", "line 2: value '1.5' is not a whole number"},
        {"plc 2\nreal M0 1e99", "line 2: value 1e99 does not fit type real"},
        {"plc 2\ndb 10 16\nstring DB10.0 4 \"Hello\"",
         "line 3: text of 5 characters is longer than the maximum length 4"},
        {"plc 2\ndb 10 16\nstring DB10.0 4 \"Hel", "line 3: string without closing quote"},
        {"plc 2\ncounter real M0 100",
         "line 2: 'real' is not a type a counter can have (byte word int dword dint)"},
        {"plc 2\nramp word M0 0 10",
         "line 2: expected: ramp <type> <location> <low> <high> <period in milliseconds>"},
        {"plc 2\nbyte X5 1",
         "line 2: location 'X5' is none of DB<n>.<byte>, I<byte>, Q<byte>, M<byte>"},
        {"plc 2\ndb 3 4\nbyte DB3 1", "line 3: location 'DB3' needs a byte: DB<n>.<byte>"},
        {"plc 2\nbytes M0 1FF", "line 2: '1FF' is not a hexadecimal byte (00..FF)"},
        {"plc 2\nanswering maybe", "line 2: expected: answering yes|no"},
        {"plc 2\ndb 10 4\ndb 10 8", "line 3: data block 10 is described twice"},
        {"plc 2\ndb 0 4", "line 2: data block 0 is outside 1..65535"},
        {"plc 2\ncounter word M0 0", "line 2: milliseconds per step 0 is outside 1..86400000"},
        {"plc 2\ncounter word M0 500\nmarkers 1",
         "line 2: word at byte 0 runs past the end of markers (1 bytes) on PLC 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char error[256] = "";
        EXPECT_NE(S7StandinLoadText(c.text, error, sizeof error), 0);
        EXPECT_STREQ(error, c.message);
    }
}

TEST_F(PlantFileTest, RefusedFileLeavesThePlantAsItWas) {
    Load("plc 2\ndb 1 4\nbyte DB1.0 7");
    char error[8] = "";
    EXPECT_NE(S7StandinLoadText("plc 3\nnonsense", error, sizeof error), 0);
    EXPECT_STREQ(error, "line 2:");  // cut to the caller's buffer
    EXPECT_EQ(Peek(2, S7_STANDIN_DATA_BLOCK, 1, 0, 1), Bytes{7});

    EXPECT_NE(S7StandinLoadFile("/nonexistent/plant.sim", error, sizeof error), 0);
    EXPECT_NE(S7StandinLoadFile("/nonexistent/plant.sim", nullptr, 0), 0);
    EXPECT_EQ(Peek(2, S7_STANDIN_DATA_BLOCK, 1, 0, 1), Bytes{7});
}

// Without a file, every MPI address is a PLC with data blocks 1..999 of 1024 bytes.
TEST_F(PlantFileTest, DefaultPlantHasEveryStation) {
    Load("plc 2");
    S7StandinUseDefault();
    uint8_t bytes[4] = {};
    for (int mpi : {0, 2, 99, 126}) {
        EXPECT_EQ(S7StandinReadBytes(mpi, S7_STANDIN_DATA_BLOCK, 1, 1020, 4, bytes), 0);
        EXPECT_EQ(S7StandinReadBytes(mpi, S7_STANDIN_DATA_BLOCK, 999, 0, 1, bytes), 0);
        EXPECT_EQ(S7StandinReadBytes(mpi, S7_STANDIN_MARKERS, 0, 2047, 1, bytes), 0);
        EXPECT_EQ(S7StandinReadBytes(mpi, S7_STANDIN_INPUTS, 0, 1023, 1, bytes), 0);
    }
    EXPECT_EQ(S7StandinReadBytes(5, S7_STANDIN_DATA_BLOCK, 1, 1021, 4, bytes),
              S7_STANDIN_PAST_DATA_BLOCK_END);
    EXPECT_EQ(S7StandinReadBytes(5, S7_STANDIN_DATA_BLOCK, 0, 0, 1, bytes),
              S7_STANDIN_NO_DATA_BLOCK);
    EXPECT_EQ(S7StandinReadBytes(5, S7_STANDIN_DATA_BLOCK, 1000, 0, 1, bytes),
              S7_STANDIN_NO_DATA_BLOCK);
    EXPECT_EQ(S7StandinReadBytes(127, S7_STANDIN_DATA_BLOCK, 1, 0, 1, bytes),
              S7_STANDIN_STATION_NOT_ANSWERING);
}

}  // namespace
}  // namespace standin_test
