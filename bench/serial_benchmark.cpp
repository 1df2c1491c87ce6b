// The COM port on the kernel stand-in: open/close cycles through ZelMain, and a write and read
// round trip over a pseudo-terminal whose far end answers at once. Also the configuration file
// read of a start-up.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "hux_standin.h"
#include "lifecycle/config_file.h"
#include "serial/port_handle.h"
#include "serial/port_primitives.h"
#include "zelmpi/zelmpi.h"

namespace {

using namespace zelmpi;

void PortOpenCloseNul(benchmark::State& state) {
    DriverContext context{};
    std::strcpy(context.portName, "NUL");
    DriverRequest open{&context, OP_PORT_OPEN, 1, 0, nullptr};
    DriverRequest close{&context, OP_PORT_CLOSE, 1, 0, nullptr};
    for (auto _ : state) {
        if (ZelMain(&open) != DRV_OK || ZelMain(&close) != DRV_OK) state.SkipWithError("failed");
    }
}
BENCHMARK(PortOpenCloseNul);

void PortConfigPty(benchmark::State& state) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    setenv("ZELKERNEL_COM9", ptsname(master), 1);
    DriverContext context{};
    PortSettings block{};
    std::strcpy(block.portName, "COM9");
    block.readTimeout = 100;
    block.lineSettings = LineSettings{9600, 8, 0, 2};
    DriverRequest configure{&context, OP_PORT_CONFIG, 1, 0, &block};
    for (auto _ : state) {
        if (ZelMain(&configure) != DRV_OK) state.SkipWithError("failed");
    }
    DriverRequest close{&context, OP_PORT_CLOSE, 1, 0, nullptr};
    ZelMain(&close);
    ::close(master);
}
BENCHMARK(PortConfigPty);

void PortRoundTripPty(benchmark::State& state) {
    const auto size = static_cast<DWORD>(state.range(0));
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    setenv("ZELKERNEL_COM9", ptsname(master), 1);
    DriverContext context{};
    PortSettings block{};
    std::strcpy(block.portName, "COM9");
    block.readTimeout = 100;
    block.lineSettings = LineSettings{9600, 8, 0, 0};
    DriverRequest configure{&context, OP_PORT_CONFIG, 1, 0, &block};
    if (ZelMain(&configure) != DRV_OK) state.SkipWithError("open failed");
    std::string out(size, 'q');
    std::string echo(size, '\0');
    std::string in(size, '\0');
    for (auto _ : state) {
        if (SendBytes(context, out.data(), size) != 1) state.SkipWithError("send failed");
        size_t got = 0;
        while (got < size) {
            const ssize_t n = read(master, echo.data() + got, size - got);
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        if (write(master, echo.data(), got) != static_cast<ssize_t>(got)) break;
        if (ReceiveBytes(context, in.data(), size) != 1) state.SkipWithError("receive failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size * 2);
    DriverRequest close{&context, OP_PORT_CLOSE, 1, 0, nullptr};
    ZelMain(&close);
    ::close(master);
}
BENCHMARK(PortRoundTripPty)->Arg(16)->Arg(256);

void ReadConfigFileOfTwentyLines(benchmark::State& state) {
    HuxStandinSetLogFile("/dev/null");
    char directory[] = "/tmp/zelmpi_bench_XXXXXX";
    if (mkdtemp(directory) == nullptr || chdir(directory) != 0) {
        state.SkipWithError("no directory");
        return;
    }
    FILE* file = std::fopen("ravUDE01.int", "w");
    std::fputs("// slots\nLONG_DB = YES\nFLOAT_ODD_ADDRESS = NO\n", file);
    for (int plc = 1; plc <= 17; ++plc) std::fprintf(file, "%d = %d\n", plc, plc % 4 + 1);
    std::fclose(file);
    DriverContext context{};
    for (auto _ : state) {
        ReadConfigFile(context, 1);
        benchmark::ClobberMemory();
    }
    std::remove("ravUDE01.int");
    rmdir(directory);
}
BENCHMARK(ReadConfigFileOfTwentyLines);

}  // namespace
