// Every data kind written through the module with zelhost's own loader and host code, then
// read back: the values the user typed, the bytes the simulated PLC holds, and the values
// read again. One instance and one PLC connection for the whole table.
#include <gtest/gtest.h>

#include <vector>

#include "host.h"
#include "log_router.h"
#include "module_loader.h"
#include "s7_standin.h"
#include "values.h"

namespace {

using namespace zelhost;

constexpr const char* kPlant =
    "plc 1\n"
    "db 10 256\n";

struct KindCase {
    const char* address;
    ValueType type;
    std::vector<const char*> values;  // as typed
    std::vector<const char*> shown;   // as read back
    int area;
    int start;  // byte in the data block or area
    std::vector<uint8_t> plcBytes;
};

TEST(EveryDataKind, IsWrittenThroughTheModuleAndReadBack) {
    std::string error;
    bool missingEntry = false;
    const ZelMainFunction zelMain = LoadModuleEntry(ZELMPI_MODULE, error, missingEntry);
    ASSERT_NE(zelMain, nullptr) << error;
    char message[256] = "";
    ASSERT_EQ(S7StandinLoadText(kPlant, message, static_cast<int>(sizeof message)), 0) << message;

    LogRouter log;
    Host host(zelMain, log);
    ASSERT_TRUE(host.AllocateContext(host.Describe().contextSize, error)) << error;
    ASSERT_EQ(host.Start({1, 1, 100}), zelmpi::DRV_OK);

    constexpr int D = S7_STANDIN_DATA_BLOCK, M = S7_STANDIN_MARKERS, Q = S7_STANDIN_OUTPUTS,
                  I = S7_STANDIN_INPUTS;
    const KindCase cases[] = {
        {"01DW010002003", ValueType::Bit, {"1"}, {"1"}, D, 20, {0x00, 0x08}},
        {"01MB001205", ValueType::Bit, {"1"}, {"1"}, M, 12, {0x20}},
        {"01DB0100007", ValueType::Byte, {"255"}, {"255"}, D, 7, {0xFF}},
        {"01QB0004", ValueType::Byte, {"0x81"}, {"129"}, Q, 4, {0x81}},
        {"01MB0020", ValueType::Byte, {"1", "2", "3"}, {"1", "2", "3"}, M, 20, {1, 2, 3}},
        {"01DW0100030", ValueType::Word, {"4660"}, {"4660"}, D, 30, {0x12, 0x34}},
        {"01DW0100041", ValueType::Word, {"65535"}, {"65535"}, D, 41, {0xFF, 0xFF}},
        {"01DW0100140",
         ValueType::Word,
         {"1", "2", "3"},
         {"1", "2", "3"},
         D,
         140,
         {0, 1, 0, 2, 0, 3}},
        {"01DW0100050", ValueType::Int16, {"-2"}, {"-2"}, D, 50, {0xFF, 0xFE}},
        {"01DD0100060",
         ValueType::Int32,
         {"-123456789"},
         {"-123456789"},
         D,
         60,
         {0xF8, 0xA4, 0x32, 0xEB}},
        {"01DD0100066",
         ValueType::Int32,
         {"305419896"},
         {"305419896"},
         D,
         66,
         {0x12, 0x34, 0x56, 0x78}},
        {"01DD0100072",
         ValueType::Uint32,
         {"4000000000"},
         {"4000000000"},
         D,
         72,
         {0xEE, 0x6B, 0x28, 0x00}},
        {"01DF0100080", ValueType::Float, {"-1.75"}, {"-1.75"}, D, 80, {0xBF, 0xE0, 0x00, 0x00}},
        {"01DF0100086", ValueType::Float, {"1e-3"}, {"0.001"}, D, 86, {0x3A, 0x83, 0x12, 0x6F}},
        {"01DF0100100",
         ValueType::Float,
         {"3.25", "100"},
         {"3.25", "100"},
         D,
         100,
         {0x40, 0x50, 0, 0, 0x42, 0xC8, 0, 0}},
        {"01DS010012010",
         ValueType::String,
         {"Pump"},
         {"\"Pump\""},
         D,
         120,
         {10, 4, 'P', 'u', 'm', 'p', 0, 0, 0, 0, 0, 0}},
        // Inputs belong to the field: the write answers OK and the PLC keeps its value.
        {"01IB0003", ValueType::Byte, {"7"}, {"0"}, I, 3, {0x00}},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(c.address);
        TagSpec tagSpec;
        tagSpec.address = c.address;
        tagSpec.type = c.type;
        tagSpec.count = static_cast<int>(c.values.size());
        const DefinedTag tag = host.Define(tagSpec);
        ASSERT_TRUE(tag.accepted) << tag.refusal;

        ValueArray written(host.PayloadBytes(tag));
        const size_t first = host.FirstElement(tag);
        for (size_t i = 0; i < c.values.size(); ++i) {
            HostValue value;
            ASSERT_TRUE(ParseValue(c.type, c.values[i], value, error)) << error;
            StoreValue(c.type, value, written, first + i);
        }
        EXPECT_EQ(host.Write(tag, written), zelmpi::DRV_OK);
        EXPECT_TRUE(written.GuardIntact());

        std::vector<uint8_t> plc(c.plcBytes.size());
        ASSERT_EQ(
            S7StandinReadBytes(1, c.area, 10, c.start, static_cast<int>(plc.size()), plc.data()),
            0);
        EXPECT_EQ(plc, c.plcBytes);

        ValueArray back(host.PayloadBytes(tag));
        ASSERT_EQ(host.Read(tag, back), zelmpi::DRV_OK);
        EXPECT_TRUE(back.GuardIntact());
        const size_t chars =
            c.type == ValueType::String ? static_cast<size_t>(host.StringLength(tag)) : 0;
        for (size_t i = 0; i < c.shown.size(); ++i) {
            EXPECT_EQ(FormatValue(c.type, back, first + i, chars), c.shown[i]) << "element " << i;
        }
    }
    EXPECT_EQ(host.StateOfPlc(1), PlcState::Online);
    EXPECT_TRUE(host.Shutdown(5000, {}));
    EXPECT_EQ(host.StateOfPlc(1), PlcState::ShutDown);
}

}  // namespace
