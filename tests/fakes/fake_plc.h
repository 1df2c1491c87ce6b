// Fake PLC library: records every call with its arguments in the shared call log, answers
// scripted results, and reads from (and writes to) one fake PLC memory image. It does not
// model stations: whatever station is selected sees the same memory.
//
// Recorded forms (numbers decimal, PLC bytes as two hex digits):
//   load_tool(1, 0, [5 0 2 0][0 0 0 0])   station count, reserved, count + 1 list entries
//   unload_tool()                         select_station(1)
//   e_read(5, 1)  a_read(..)  m_read(..)  d_field_read(10, 20, 2)
//   a_write(100, 2, [FF 80])  m_write(..)  d_field_write(10, 10, 4, [12 34 00 FF])
//   db_write(10, 6, 2, [11 22 33 44])     data block, start word, word count, 2 x count bytes
//   plc_real_to_float([3F C0 00 00])      float_to_plc_real(1.5)
#pragma once

#include <cstdint>
#include <vector>

namespace fakes {

enum class PlcCall {
    LoadTool,
    UnloadTool,
    SelectStation,
    ERead,
    ARead,
    MRead,
    DFieldRead,
    AWrite,
    MWrite,
    DFieldWrite,
    DbWrite,
    RealToFloat,
    FloatToReal,
};

enum class PlcArea { Inputs, Outputs, Markers };

// Every queue and default back to 0, memory all zero.
void ResetPlc();

// Results the call answers in turn; once they are used up it answers its default.
void QueuePlcResults(PlcCall call, std::vector<int> results);
// The answer when no queued result is left (0 unless set).
void SetPlcDefaultResult(PlcCall call, int result);

// Fake PLC memory. A read that answers 0 copies from it; a read that fails fills its buffer
// with 0xEE, which the driver must never pass on. A write that answers 0 stores into it.
void SetDataBlockBytes(int db, int start, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> DataBlockBytes(int db, int start, int count);
void SetAreaBytes(PlcArea area, int start, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> AreaBytes(PlcArea area, int start, int count);

}  // namespace fakes
