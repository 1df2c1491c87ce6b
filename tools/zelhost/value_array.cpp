#include "value_array.h"

#include <cstring>

namespace zelhost {

namespace {
constexpr size_t kGuardBytes = 64;
constexpr std::byte kGuardByte{0xA5};
}  // namespace

ValueArray::ValueArray(size_t payloadBytes)
    : payloadBytes_(payloadBytes), storage_((payloadBytes + kGuardBytes + 3) / 4, 0u) {
    std::memset(Bytes() + payloadBytes_, static_cast<int>(kGuardByte),
                storage_.size() * 4 - payloadBytes_);
}

const std::byte* ValueArray::Bytes() const {
    return reinterpret_cast<const std::byte*>(storage_.data());
}

std::byte* ValueArray::Bytes() {
    return reinterpret_cast<std::byte*>(storage_.data());
}

uint16_t ValueArray::Load16(size_t index) const {
    uint16_t value = 0;
    std::memcpy(&value, Bytes() + index * 2, sizeof value);
    return value;
}

void ValueArray::Store16(size_t index, uint16_t value) {
    std::memcpy(Bytes() + index * 2, &value, sizeof value);
}

uint32_t ValueArray::Load32(size_t index) const {
    uint32_t value = 0;
    std::memcpy(&value, Bytes() + index * 4, sizeof value);
    return value;
}

void ValueArray::Store32(size_t index, uint32_t value) {
    std::memcpy(Bytes() + index * 4, &value, sizeof value);
}

float ValueArray::LoadFloat(size_t index) const {
    float value = 0;
    std::memcpy(&value, Bytes() + index * 4, sizeof value);
    return value;
}

void ValueArray::StoreFloat(size_t index, float value) {
    std::memcpy(Bytes() + index * 4, &value, sizeof value);
}

std::string ValueArray::LoadChars(size_t maxLength) const {
    const char* text = reinterpret_cast<const char*>(Bytes());
    size_t length = 0;
    while (length < maxLength && length < payloadBytes_ && text[length] != '\0') ++length;
    return std::string(text, length);
}

void ValueArray::StoreChars(std::string_view text) {
    if (payloadBytes_ == 0) return;
    const size_t length = text.size() < payloadBytes_ ? text.size() : payloadBytes_ - 1;
    std::memcpy(Bytes(), text.data(), length);
    Bytes()[length] = std::byte{0};
}

bool ValueArray::GuardIntact() const {
    const size_t total = storage_.size() * 4;
    for (size_t i = payloadBytes_; i < total; ++i) {
        if (Bytes()[i] != kGuardByte) return false;
    }
    return true;
}

}  // namespace zelhost
