// The host's value array for one request, with a guard area behind it that shows whether the
// module wrote past the elements it was asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelhost {

class ValueArray {
  public:
    explicit ValueArray(size_t payloadBytes);

    void* data() { return storage_.data(); }
    size_t size() const { return payloadBytes_; }

    // Elements as the module lays them out: native byte order, at index × element size.
    uint16_t Load16(size_t index) const;
    void Store16(size_t index, uint16_t value);
    uint32_t Load32(size_t index) const;
    void Store32(size_t index, uint32_t value);
    float LoadFloat(size_t index) const;
    void StoreFloat(size_t index, float value);

    // Characters from the start, up to the first NUL or maxLength, whichever comes first.
    std::string LoadChars(size_t maxLength) const;
    // The text and a terminating NUL, from the start.
    void StoreChars(std::string_view text);

    // False when a byte behind the payload changed.
    bool GuardIntact() const;

  private:
    const std::byte* Bytes() const;
    std::byte* Bytes();

    size_t payloadBytes_;
    std::vector<uint32_t> storage_;  // 4-byte aligned for 32-bit and float elements
};

}  // namespace zelhost
