// Two instances defining tags on two host threads at once: every parse keeps its own working
// copy and mode, so neither sees the other's address or the other's quiet check.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "addressing_test_support.h"

namespace {

using namespace zelmpi;
using addressing_test::kHostLeftovers;
using addressing_test::Packed;

struct Job {
    int32_t operation;
    const char* address;
    int32_t hostType;
    int expectedResult;
    TagAddress expected;
};

// Both threads start parsing only once both are running.
void MeetAtTheGate(std::atomic<int>& gate) {
    gate.fetch_add(1);
    while (gate.load() < 2) std::this_thread::yield();
}

// Runs the jobs in turn, many times, on one instance; counts every result that differs.
int RunMany(std::atomic<int>& gate, bool longDb, const Job (&jobs)[2], int rounds) {
    MeetAtTheGate(gate);
    DriverContext context{};
    context.longDb = longDb ? 1 : 0;
    int mismatches = 0;
    for (int round = 0; round < rounds; ++round) {
        for (const Job& job : jobs) {
            TagDefinition definition{job.address, 0, job.hostType, 1, kHostLeftovers};
            DriverRequest request{&context, job.operation, 0, 0, &definition};
            const int result = ZelMain(&request);
            if (result != job.expectedResult || !(definition.tag == job.expected)) ++mismatches;
        }
    }
    return mismatches;
}

TEST(ParseAddressConcurrency, TwoInstancesParsingAtOnceEachGetTheirOwnResults) {
    constexpr int kRounds = 50000;
    // A bit tag parsed in full on one thread while the other runs the quiet check on a bit tag
    // of the long layout: a shared mode would lose the bit number, a shared copy the address.
    const Job normalJobs[2] = {
        {OP_PARSE, "01DW010002003", HOST_TYPE_BIT, DRV_OK, {1, 0, Packed(10, 10), 3, 16}},
        {OP_PARSE, "05dd0420010", HOST_TYPE_SIGNED32, DRV_OK, {5, 'd', Packed(42, 2), 255, 32}},
    };
    const Job longJobs[2] = {
        {OP_CHECK_SIZE, "02DW0123002015", HOST_TYPE_BIT, DRV_OK, {2, 0, Packed(123, 10), 255, 16}},
        {OP_PARSE,
         "97XS9876012380",
         HOST_TYPE_STRING,
         DRV_OK,
         {97, 'S', Packed(9876, 123), 255, 16}},
    };
    fakes::ResetAllFakes();
    std::atomic<int> gate{0};
    std::atomic<int> normalMismatches{-1};
    std::thread other([&] { normalMismatches = RunMany(gate, false, normalJobs, kRounds); });
    const int longMismatches = RunMany(gate, true, longJobs, kRounds);
    other.join();
    EXPECT_EQ(normalMismatches.load(), 0);
    EXPECT_EQ(longMismatches, 0);
    EXPECT_TRUE(fakes::LogLines().empty());
}

}  // namespace
