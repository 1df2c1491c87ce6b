// The requests zelhost builds, checked against a recording ZelMain instead of the module:
// the context it allocates, OP_INIT's block, the order OP_PARSE then OP_CHECK_SIZE, the
// placement of single values, and the log lines held for a tag's report.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host.h"
#include "hux_standin.h"
#include "value_type.h"

extern "C" {
int err(int level, const char* format, ...);
int HuxMkClient(const char* name, int mode, int flags, int* clientId);
int HuxRmClient(unsigned char clientId);
}

namespace {

using namespace zelhost;
using namespace zelmpi;

struct RecordedCall {
    int32_t operation;
    int32_t instance;
    void* context;
    int32_t hostType = 0;
    int32_t count = 0;
    void* values = nullptr;
    uint16_t second16 = 0;  // the 16-bit element after the first, as the module saw it
};

struct FakeModule {
    std::vector<RecordedCall> calls;
    int32_t contextSize = sizeof(DriverContext);
    int parseResult = DRV_OK;
    int checkResult = 0;
    TagAddress parsed{1, ACCESS_WORD_EVEN, (10 << 16) | 10, kNoBit, 16};
    const char* parseLine = nullptr;  // logged during OP_PARSE
    uint16_t readValue = 0;
};

FakeModule fake;

int32_t ZELMPI_WINAPI RecordingZelMain(DriverRequest* request) {
    RecordedCall call{request->operation, request->instance, request->context};
    switch (request->operation) {
        case OP_DESCRIBE: {
            auto* info = static_cast<DriverInfo*>(request->params);
            info->driverCode = 82;
            info->contextSize = fake.contextSize;
            break;
        }
        case OP_INIT: {
            const auto* init = static_cast<InitSettings*>(request->params);
            call.hostType = init->startValue;
            call.count = init->readTimeout;
            break;
        }
        case OP_PARSE:
        case OP_CHECK_SIZE: {
            auto* definition = static_cast<TagDefinition*>(request->params);
            call.hostType = definition->hostType;
            call.count = definition->elementCount;
            definition->tag = fake.parsed;
            if (request->operation == OP_PARSE && fake.parseLine != nullptr)
                err(32, "%s", fake.parseLine);
            fake.calls.push_back(call);
            return request->operation == OP_PARSE ? fake.parseResult : fake.checkResult;
        }
        default: {
            auto* transfer = static_cast<TagTransfer*>(request->params);
            call.count = transfer->elementCount;
            call.values = transfer->values;
            auto* elements = static_cast<uint16_t*>(transfer->values);
            call.second16 = elements[1];
            if (request->operation == OP_READ_ONE || request->operation == OP_READ_BLOCK) {
                elements[request->operation == OP_READ_ONE ? 1 : 0] = fake.readValue;
            }
        }
    }
    fake.calls.push_back(call);
    return DRV_OK;
}

class HostRequests : public testing::Test {
  protected:
    void SetUp() override {
        fake = FakeModule{};
        HuxStandinReset();
        host.SetLogSink([this](const std::string& line) { passedOn.push_back(line); });
        std::string error;
        ASSERT_TRUE(host.AllocateContext(host.Describe().contextSize, error)) << error;
    }

    DefinedTag Define(const char* address, ValueType type, int count = 1) {
        TagSpec tagSpec;
        tagSpec.name = "t";
        tagSpec.address = address;
        tagSpec.type = type;
        tagSpec.count = count;
        fake.calls.clear();
        return host.Define(tagSpec);
    }

    LogRouter log;
    Host host{RecordingZelMain, log};
    std::vector<std::string> passedOn;
};

TEST_F(HostRequests, ContextHasTheReportedSizeOnlyWhenAHostCouldAllocateIt) {
    std::string error;
    EXPECT_TRUE(host.AllocateContext(400, error));
    EXPECT_FALSE(host.AllocateContext(100, error));
    EXPECT_EQ(error,
              "the module reports a context of 100 bytes; this host knows the 336-byte context");
    EXPECT_FALSE(host.AllocateContext(-1, error));
}

TEST_F(HostRequests, StartHandsTheSettingsAndInstanceToOpInit) {
    fake.calls.clear();
    host.Start({7, 1, 250});
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].operation, OP_INIT);
    EXPECT_EQ(fake.calls[0].instance, 7);
    EXPECT_NE(fake.calls[0].context, nullptr);
    EXPECT_EQ(fake.calls[0].hostType, 1);  // start value
    EXPECT_EQ(fake.calls[0].count, 250);   // read time-out
}

TEST_F(HostRequests, DefineParsesThenChecksTheBlockWithTheTypesHostCode) {
    fake.parsed = {1, ACCESS_DWORD, (10 << 16) | 2, kNoBit, 32};
    const DefinedTag tag = Define("01DD0100008", ValueType::Uint32, 5);
    EXPECT_TRUE(tag.accepted) << tag.refusal;
    ASSERT_EQ(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0].operation, OP_PARSE);
    EXPECT_EQ(fake.calls[0].hostType, HOST_TYPE_UNSIGNED32);
    EXPECT_EQ(fake.calls[1].operation, OP_CHECK_SIZE);
    EXPECT_EQ(fake.calls[1].count, 5);
    EXPECT_EQ(tag.address.accessCode, ACCESS_DWORD);
}

TEST_F(HostRequests, StringTagsHaveNoBlockToCheck) {
    fake.parsed = {1, ACCESS_STRING, (10 << 16) | 20, kNoBit, 16};
    EXPECT_TRUE(Define("01DS010002010", ValueType::String).accepted);
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].hostType, HOST_TYPE_STRING);
}

TEST_F(HostRequests, ARefusalQuotesTheModulesLineAndDoesNotPassItOn) {
    fake.parseResult = DRV_FAILED;
    fake.parseLine = "RAVUDE> ParseAddress() wrong characters in address string";
    const DefinedTag tag = Define("01XZ0100020", ValueType::Word);
    EXPECT_FALSE(tag.accepted);
    EXPECT_EQ(tag.refusal, fake.parseLine);
    EXPECT_EQ(tag.moduleLines, std::vector<std::string>{fake.parseLine});
    EXPECT_EQ(fake.calls.size(), 1u);  // no block check after a refusal
    err(32, "later line");             // the log is back at its destination
    host.PassOnLog();
    EXPECT_TRUE(passedOn.empty());
}

TEST_F(HostRequests, ATypeThatDoesNotFitTheAddressIsRefusedByZelhost) {
    struct Case {
        TagAddress parsed;
        ValueType type;
        const char* refusal;
    } cases[] = {
        {{1, ACCESS_WORD_EVEN, 10, kNoBit, 16},
         ValueType::Int32,
         "type int32 does not fit A, a data-block word; use word or int16"},
        {{1, ACCESS_BYTE, 10, kNoBit, 16},
         ValueType::Word,
         "type word does not fit A, a data-block byte; use byte"},
        {{1, ACCESS_MARKER, 12, kNoBit, 16},
         ValueType::Float,
         "type float does not fit A, a marker byte; use byte"},
        {{1, ACCESS_WORD_ODD, 10, kNoBit, 16},
         ValueType::String,
         "type string does not fit A, a data-block word; use word or int16"},
    };
    for (const Case& c : cases) {
        fake.parsed = c.parsed;
        const DefinedTag tag = Define("A", c.type);
        EXPECT_FALSE(tag.accepted);
        EXPECT_EQ(tag.refusal, c.refusal);
    }
}

TEST_F(HostRequests, ABlockTheModuleRefusesIsARefusal) {
    fake.checkResult = 1;
    const DefinedTag tag = Define("01DW0100020", ValueType::Word, 251);
    EXPECT_FALSE(tag.accepted);
    EXPECT_EQ(tag.refusal,
              "the module refuses a block of 251 elements for this tag (OP_CHECK_SIZE)");
}

TEST_F(HostRequests, BitsTravelAloneInTheSecondElementAndBlocksFromTheFirst) {
    fake.parsed = {1, ACCESS_WORD_EVEN, 10, 3, 16};
    const DefinedTag bit = Define("01DW010002003", ValueType::Bit);
    ASSERT_TRUE(bit.accepted);
    EXPECT_EQ(host.FirstElement(bit), 1u);
    ValueArray values(host.PayloadBytes(bit));
    values.Store16(1, 1);
    fake.calls.clear();
    EXPECT_EQ(host.Write(bit, values), DRV_OK);
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].operation, OP_WRITE_ONE);
    EXPECT_EQ(fake.calls[0].count, 1);
    EXPECT_EQ(fake.calls[0].values, values.data());
    EXPECT_EQ(fake.calls[0].second16, 1);

    fake.readValue = 1;
    EXPECT_EQ(host.Read(bit, values), DRV_OK);
    EXPECT_EQ(fake.calls[1].operation, OP_READ_ONE);
    EXPECT_EQ(values.Load16(1), 1);

    fake.parsed = {1, ACCESS_WORD_EVEN, 10, kNoBit, 16};
    const DefinedTag words = Define("01DW0100020", ValueType::Word, 3);
    ValueArray block(host.PayloadBytes(words));
    EXPECT_EQ(block.size(), 6u);
    fake.readValue = 0x1234;
    EXPECT_EQ(host.Read(words, block), DRV_OK);
    EXPECT_EQ(fake.calls.back().operation, OP_READ_BLOCK);
    EXPECT_EQ(fake.calls.back().count, 3);
    EXPECT_EQ(block.Load16(0), 0x1234);
}

TEST_F(HostRequests, ShutdownWaitsForAStartedInstancesClientToComeAndGo) {
    host.Start({1, 1, 100});
    // The worker thread has not registered its client yet: not done, however quiet it is.
    EXPECT_FALSE(host.Shutdown(0, {}));
    int client = 0;
    HuxMkClient("MPI", 1, 0, &client);
    EXPECT_FALSE(host.Shutdown(0, {}));
    HuxRmClient(static_cast<unsigned char>(client));
    EXPECT_TRUE(host.Shutdown(0, {}));
}

TEST_F(HostRequests, AnUnstartedInstanceHasNoClientToWaitFor) {
    host.Start({1, 0, 100});
    EXPECT_TRUE(host.Shutdown(0, {}));
}

}  // namespace
