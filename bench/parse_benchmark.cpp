// OP_PARSE through ZelMain for typical accepted addresses (nothing is logged).
#include <benchmark/benchmark.h>

#include <cstdint>

#include "zelmpi/zelmpi.h"

namespace {

using namespace zelmpi;

void ParseThroughZelMain(benchmark::State& state, const char* address, int32_t hostType,
                         bool longDb) {
    DriverContext context{};
    context.longDb = longDb ? 1 : 0;
    TagDefinition definition{address, 0, hostType, 1, {}};
    DriverRequest request{&context, OP_PARSE, 0, 0, &definition};
    for (auto _ : state) {
        benchmark::DoNotOptimize(request);
        const int32_t result = ZelMain(&request);
        benchmark::DoNotOptimize(result);
        benchmark::ClobberMemory();
    }
    if (ZelMain(&request) != DRV_OK) state.SkipWithError("address refused");
}

BENCHMARK_CAPTURE(ParseThroughZelMain, word, "01DW0100020", 1, false);
BENCHMARK_CAPTURE(ParseThroughZelMain, hex_word, "01XW01001F4", 1, false);
BENCHMARK_CAPTURE(ParseThroughZelMain, float, "01DF0100024", HOST_TYPE_FLOAT, false);
BENCHMARK_CAPTURE(ParseThroughZelMain, word_bit, "01DW010002003", HOST_TYPE_BIT, false);
BENCHMARK_CAPTURE(ParseThroughZelMain, string, "01DS010002010", HOST_TYPE_STRING, false);
BENCHMARK_CAPTURE(ParseThroughZelMain, marker, "01MB0012", 1, false);
BENCHMARK_CAPTURE(ParseThroughZelMain, long_string, "01DS1234002010", HOST_TYPE_STRING, true);

}  // namespace
