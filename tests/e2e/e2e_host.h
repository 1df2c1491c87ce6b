// A host for end-to-end tests: asks the module for its description, allocates the instance
// context, starts the instance, defines tags and reads and writes them, all through ZelMain.
// The host runtime's log and the PLC library's call trace go to one captured stream, in the
// order they happen.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "hux_standin.h"
#include "s7_standin.h"
#include "zelmpi/zelmpi.h"

namespace e2e {

using namespace zelmpi;

// The host log and the PLC library trace, interleaved as they happen.
class CapturedLog {
  public:
    CapturedLog() : stream_(std::tmpfile()) {
        HuxStandinSetLogStream(stream_);
        S7StandinSetTraceStream(stream_);
    }
    ~CapturedLog() {
        HuxStandinSetLogStream(nullptr);
        S7StandinSetTraceStream(nullptr);
        if (stream_ != nullptr) std::fclose(stream_);
    }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    // The lines since the last Clear.
    std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        if (stream_ == nullptr) return lines;
        std::fflush(stream_);
        std::fseek(stream_, start_, SEEK_SET);
        char line[1200];
        while (std::fgets(line, sizeof line, stream_) != nullptr) {
            std::string text(line);
            if (!text.empty() && text.back() == '\n') text.pop_back();
            lines.push_back(text);
        }
        std::fseek(stream_, 0, SEEK_END);
        return lines;
    }

    void Clear() {
        if (stream_ == nullptr) return;
        std::fflush(stream_);
        std::fseek(stream_, 0, SEEK_END);
        start_ = std::ftell(stream_);
    }

  private:
    std::FILE* stream_;
    long start_ = 0;
};

// One driver instance. Its context lives as long as the process: the instance's worker
// thread keeps it.
class Host {
  public:
    Host() {
        DriverInfo info{};
        DriverRequest describe{nullptr, OP_DESCRIBE, 0, 0, &info};
        EXPECT_EQ(ZelMain(&describe), DRV_OK);
        EXPECT_EQ(info.contextSize, static_cast<int32_t>(sizeof(DriverContext)));
        Contexts().push_back(std::make_unique<DriverContext>());
        context_ = Contexts().back().get();
    }

    int Init(int instance) {
        InitSettings settings{};
        settings.startValue = 1;
        settings.readTimeout = 100;
        DriverRequest request{context_, OP_INIT, instance, 0, &settings};
        return ZelMain(&request);
    }

    // OP_PARSE of the address with the host's type; the transfer block of the tag.
    TagTransfer Define(const char* address, int32_t hostType) {
        TagDefinition definition{address, 0, hostType, 1, {}};
        DriverRequest request{context_, OP_PARSE, 0, 0, &definition};
        EXPECT_EQ(ZelMain(&request), DRV_OK) << address;
        TagTransfer transfer{};
        transfer.addressText = address;
        transfer.tag = definition.tag;
        return transfer;
    }

    int Run(int32_t operation, TagTransfer& transfer, int32_t count, void* values) {
        transfer.elementCount = count;
        transfer.values = values;
        DriverRequest request{context_, operation, 0, 0, &transfer};
        return ZelMain(&request);
    }

    DriverContext& Context() { return *context_; }

  private:
    static std::vector<std::unique_ptr<DriverContext>>& Contexts() {
        static auto* contexts = new std::vector<std::unique_ptr<DriverContext>>();
        return *contexts;
    }

    DriverContext* context_;
};

}  // namespace e2e
