#include "host.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>

#include "hux_standin.h"
#include "value_type.h"
#include "values.h"

namespace zelhost {

namespace {

constexpr int32_t kLargestContext = 1 << 20;

// What an access code reads, and the zelhost types that fit it.
struct AddressKind {
    const char* name;
    const char* types;
};

AddressKind KindOfAccessCode(int32_t accessCode) {
    switch (accessCode) {
        case zelmpi::ACCESS_WORD_EVEN:
        case zelmpi::ACCESS_WORD_ODD:
            return {"a data-block word", "word or int16"};
        case zelmpi::ACCESS_BYTE:
            return {"a data-block byte", "byte"};
        case zelmpi::ACCESS_INPUT:
            return {"an input byte", "byte"};
        case zelmpi::ACCESS_OUTPUT:
            return {"an output byte", "byte"};
        case zelmpi::ACCESS_MARKER:
            return {"a marker byte", "byte"};
        case zelmpi::ACCESS_DWORD:
        case zelmpi::ACCESS_DWORD_HIGH:
            return {"a data-block double word", "int32 or uint32"};
        case zelmpi::ACCESS_FLOAT:
        case zelmpi::ACCESS_FLOAT_HIGH:
            return {"a data-block float", "float"};
        case zelmpi::ACCESS_STRING:
            return {"a data-block string", "string"};
        default:
            return {"an address of an unknown kind", "none"};
    }
}

bool TypeFitsAccessCode(ValueType type, const zelmpi::TagAddress& address) {
    const int32_t code = address.accessCode;
    switch (type) {
        case ValueType::Bit:
            return address.bitNumber != zelmpi::kNoBit;
        case ValueType::Byte:
            return code == zelmpi::ACCESS_BYTE || code == zelmpi::ACCESS_INPUT ||
                   code == zelmpi::ACCESS_OUTPUT || code == zelmpi::ACCESS_MARKER;
        case ValueType::Word:
        case ValueType::Int16:
            return code == zelmpi::ACCESS_WORD_EVEN || code == zelmpi::ACCESS_WORD_ODD;
        default:
            return LayoutOfAccessCode(code) == LayoutOf(type);
    }
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) {
        if (!joined.empty()) joined += " / ";
        joined += line;
    }
    return joined;
}

}  // namespace

std::string ResultName(int result) {
    switch (result) {
        case zelmpi::DRV_OK:
            return "OK";
        case zelmpi::DRV_FAILED:
            return "FAILED";
        case zelmpi::DRV_OFFLINE:
            return "OFFLINE";
        default:
            return "result " + std::to_string(result);
    }
}

const char* PlcStateName(PlcState state) {
    switch (state) {
        case PlcState::NotConnected:
            return "not connected";
        case PlcState::Online:
            return "online";
        case PlcState::Failed:
            return "failed";
        case PlcState::Offline:
            return "offline";
        case PlcState::ShutDown:
            return "shut down";
    }
    return "?";
}

Host::Host(ZelMainFunction zelMain, LogRouter& log)
    : zelMain_(zelMain), log_(log), sink_([&log](const std::string& line) { log.Forward(line); }) {}

void Host::PassOnLog() {
    for (const std::string& line : log_.Drain()) sink_(line);
}

int Host::Call(int32_t operation, void* params) {
    zelmpi::DriverRequest request{contextStorage_.get(), operation, instance_, 0, params};
    return zelMain_(&request);
}

ModuleDescription Host::Describe() {
    zelmpi::DriverInfo info{};
    Call(zelmpi::OP_DESCRIBE, &info);
    ModuleDescription description;
    description.driverCode = info.driverCode;
    if (info.deviceName != nullptr) description.deviceName = info.deviceName;
    if (info.banner != nullptr) description.banner = info.banner;
    description.contextSize = info.contextSize;
    return description;
}

bool Host::AllocateContext(int32_t contextSize, std::string& error) {
    const auto known = static_cast<int32_t>(sizeof(zelmpi::DriverContext));
    if (contextSize < known || contextSize > kLargestContext) {
        error = "the module reports a context of " + std::to_string(contextSize) +
                " bytes; this host knows the " + std::to_string(known) + "-byte context";
        return false;
    }
    const size_t words = (static_cast<size_t>(contextSize) + 7) / 8;
    contextStorage_ = std::make_unique<uint64_t[]>(words);  // zero-filled
    return true;
}

int Host::Start(const InstanceSettings& settings) {
    instance_ = settings.instance;
    zelmpi::InitSettings init{};
    init.startValue = settings.startValue;
    init.readTimeout = settings.readTimeout;
    const int clientsBefore = HuxStandinClientsCreated();
    const int result = Call(zelmpi::OP_INIT, &init);
    // Started: its worker thread registers one client, which must be gone before the
    // context may go.
    if (result == zelmpi::DRV_OK && settings.startValue != 0) clientsExpected_ = clientsBefore + 1;
    return result;
}

bool Host::LongDb() const {
    const auto* context = reinterpret_cast<const zelmpi::DriverContext*>(contextStorage_.get());
    return context != nullptr && context->longDb != 0;
}

DefinedTag Host::Define(const TagSpec& tagSpec) {
    DefinedTag tag;
    tag.tagSpec = tagSpec;
    // Holds the module's lines to quote them; without a temporary file they go on unquoted.
    const bool wasHolding = log_.Holding();
    std::string ignored;
    if (!wasHolding) log_.Hold(ignored);
    PassOnLog();  // lines from before belong to no tag
    struct ReleaseOnReturn {
        LogRouter& log;
        bool keep;
        ~ReleaseOnReturn() {
            if (!keep) log.Release();
        }
    } release{log_, wasHolding};
    zelmpi::TagDefinition definition{
        tagSpec.address.c_str(), 0, HostTypeCode(tagSpec.type), tagSpec.count, {}};
    const int parsed = Call(zelmpi::OP_PARSE, &definition);
    tag.moduleLines = log_.Drain();
    tag.address = definition.tag;
    if (parsed != zelmpi::DRV_OK) {
        tag.refusal = tag.moduleLines.empty()
                          ? "refused by the module, which answered " + ResultName(parsed)
                          : JoinLines(tag.moduleLines);
        return tag;
    }
    if (!TypeFitsAccessCode(tagSpec.type, tag.address)) {
        const AddressKind kind = KindOfAccessCode(tag.address.accessCode);
        tag.refusal = "type " + std::string(TypeName(tagSpec.type)) + " does not fit " + tagSpec.address +
                      ", " + kind.name + "; use " + kind.types;
        return tag;
    }
    if (tagSpec.type != ValueType::String) {
        zelmpi::TagDefinition sizeCheck{
            tagSpec.address.c_str(), 0, HostTypeCode(tagSpec.type), tagSpec.count, {}};
        const int fits = Call(zelmpi::OP_CHECK_SIZE, &sizeCheck);
        const std::vector<std::string> lines = log_.Drain();
        tag.moduleLines.insert(tag.moduleLines.end(), lines.begin(), lines.end());
        if (fits != 0) {
            tag.refusal = "the module refuses a block of " + std::to_string(tagSpec.count) +
                          " elements for this tag (OP_CHECK_SIZE)";
            if (!lines.empty()) tag.refusal += ": " + JoinLines(lines);
            return tag;
        }
    }
    tag.accepted = true;
    return tag;
}

int Host::StringLength(const DefinedTag& tag) const {
    return DeclaredStringLength(tag.tagSpec.address, LongDb());
}

size_t Host::PayloadBytes(const DefinedTag& tag) const {
    switch (tag.tagSpec.type) {
        case ValueType::Bit:
            return 4;  // the value travels in the second 16-bit element
        case ValueType::String:
            return static_cast<size_t>(StringLength(tag)) + 1;
        default:
            return static_cast<size_t>(tag.tagSpec.count) * ElementSize(LayoutOf(tag.tagSpec.type));
    }
}

size_t Host::FirstElement(const DefinedTag& tag) const {
    return tag.tagSpec.type == ValueType::Bit ? 1 : 0;
}

int Host::Read(const DefinedTag& tag, ValueArray& values) {
    const bool single = tag.tagSpec.type == ValueType::Bit;
    zelmpi::TagTransfer transfer{tag.tagSpec.address.c_str(),    0, tag.address,  0,
                                 single ? 1 : tag.tagSpec.count, 0, values.data()};
    return Call(single ? zelmpi::OP_READ_ONE : zelmpi::OP_READ_BLOCK, &transfer);
}

int Host::Write(const DefinedTag& tag, ValueArray& values) {
    const bool single = tag.tagSpec.type == ValueType::Bit;
    zelmpi::TagTransfer transfer{tag.tagSpec.address.c_str(),    0, tag.address,  0,
                                 single ? 1 : tag.tagSpec.count, 0, values.data()};
    return Call(single ? zelmpi::OP_WRITE_ONE : zelmpi::OP_WRITE_BLOCK, &transfer);
}

PlcState Host::StateOfPlc(int32_t plc) const {
    auto* context = reinterpret_cast<zelmpi::DriverContext*>(contextStorage_.get());
    if (context == nullptr) return PlcState::NotConnected;
    // The worker thread writes this byte; the module reads it the same way.
    if (std::atomic_ref<uint8_t>(context->shutdown).load(std::memory_order_acquire) != 0) {
        return PlcState::ShutDown;
    }
    const int used =
        context->plcCount < zelmpi::kPlcEntries ? context->plcCount : zelmpi::kPlcEntries;
    for (int i = 0; i < used; ++i) {
        const zelmpi::PlcEntry& entry = context->PlcTable[i];
        if (entry.plc != plc) continue;
        switch (entry.status) {
            case zelmpi::DRV_OK:
                return PlcState::Online;
            case zelmpi::DRV_FAILED:
                return PlcState::Failed;
            default:
                return PlcState::Offline;
        }
    }
    return PlcState::NotConnected;
}

bool Host::Shutdown(int timeoutMs, const std::function<void()>& onTick) {
    HuxStandinAnnounceShutdown();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool ended = false;
    for (;;) {
        ended = HuxStandinClientsCreated() >= clientsExpected_ && HuxStandinClientCount() == 0;
        PassOnLog();
        if (onTick) onTick();
        if (ended || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return ended;
}

}  // namespace zelhost
