// zelhost as the host: one driver instance reached only through ZelMain with the host's
// records, a context allocated with the size the module reports, and the host runtime's
// shutdown announcement at the end.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "log_router.h"
#include "tag_list.h"
#include "value_array.h"
#include "zelmpi/zelmpi.h"

namespace zelhost {

struct ModuleDescription {
    int32_t driverCode = 0;
    std::string deviceName;  // code page 437, as the module gives it
    std::string banner;      // code page 437
    int32_t contextSize = 0;
};

struct InstanceSettings {
    int32_t instance = 1;
    int32_t startValue = 1;
    int32_t readTimeout = 100;  // 10 ms units
};

// A tag after the module has been asked about it.
struct DefinedTag {
    TagSpec tagSpec;
    zelmpi::TagAddress address{};
    bool accepted = false;
    std::string refusal;                   // why not, when not accepted
    std::vector<std::string> moduleLines;  // what the module logged while defining it
};

std::string ResultName(int result);  // OK, FAILED, OFFLINE, or "result N"

// The PLC's state as the instance's station table shows it.
enum class PlcState { NotConnected, Online, Failed, Offline, ShutDown };
const char* PlcStateName(PlcState state);

class Host {
  public:
    using LogSink = std::function<void(const std::string&)>;

    // Held log lines that no report quotes go to the sink; by default to the log's
    // destination.
    Host(ZelMainFunction zelMain, LogRouter& log);
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    void SetLogSink(LogSink sink) { sink_ = std::move(sink); }
    // Hands the lines held so far to the sink.
    void PassOnLog();

    // OP_DESCRIBE; needs no context.
    ModuleDescription Describe();

    // Allocates the context with the size OP_DESCRIBE reported, zero-filled. False when the
    // size is not one a host could allocate.
    bool AllocateContext(int32_t contextSize, std::string& error);

    // OP_INIT; returns the module's result. Afterwards the context holds the instance's
    // address options. A started instance registers its message client from its own thread,
    // possibly later.
    int Start(const InstanceSettings& settings);
    bool LongDb() const;

    // OP_PARSE, then zelhost's check that the type fits the kind of address, then
    // OP_CHECK_SIZE for the tag's count (strings have no blocks and skip it). The lines the
    // module logs meanwhile are held and returned with the tag, not passed on.
    DefinedTag Define(const TagSpec& tagSpec);

    // One read or write of an accepted tag: the single-value operation for a bit, the block
    // operation for everything else. The array must hold PayloadBytes(tag) bytes.
    int Read(const DefinedTag& tag, ValueArray& values);
    int Write(const DefinedTag& tag, ValueArray& values);
    size_t PayloadBytes(const DefinedTag& tag) const;
    // Where the tag's first value sits in its array: the second 16-bit element for a bit.
    size_t FirstElement(const DefinedTag& tag) const;
    // The string length the tag's address declares (strings only).
    int StringLength(const DefinedTag& tag) const;

    PlcState StateOfPlc(int32_t plc) const;

    // Announces shutdown through the host runtime and waits, at most timeoutMs, for the
    // instance's worker thread to register and then remove its client, passing on the log
    // meanwhile and calling onTick now and then. True when the thread is done with the
    // context.
    bool Shutdown(int timeoutMs, const std::function<void()>& onTick);

  private:
    // ZelMain with a request for this instance's context.
    int Call(int32_t operation, void* params);

    ZelMainFunction zelMain_;
    LogRouter& log_;
    LogSink sink_;
    std::unique_ptr<uint64_t[]> contextStorage_;  // 8-byte aligned, as the host's allocator
    int32_t instance_ = 0;
    int clientsExpected_ = 0;  // the host runtime's client count once every thread registered
};

}  // namespace zelhost
