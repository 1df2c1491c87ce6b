// Placeholder fake until the PLC access tests land: records the call names, answers 0.
#include "fakes/fake_plc.h"

#include "fakes/call_log.h"
#include "platform/plc_library.h"

namespace fakes {
void ResetPlc() {}
}  // namespace fakes

extern "C" {
int load_tool(unsigned char, int, const void*) { return fakes::Record("load_tool"), 0; }
int unload_tool(void) { return fakes::Record("unload_tool"), 0; }
int select_station(int) { return fakes::Record("select_station"), 0; }
int e_read(int, int, void*) { return fakes::Record("e_read"), 0; }
int a_read(int, int, void*) { return fakes::Record("a_read"), 0; }
int m_read(int, int, void*) { return fakes::Record("m_read"), 0; }
int d_field_read(int, int, int, void*) { return fakes::Record("d_field_read"), 0; }
int a_write(int, int, void*) { return fakes::Record("a_write"), 0; }
int m_write(int, int, void*) { return fakes::Record("m_write"), 0; }
int d_field_write(int, int, int, void*) { return fakes::Record("d_field_write"), 0; }
int db_write(int, int, int*, void*) { return fakes::Record("db_write"), 0; }
int plc_real_to_float(const void*, float*) { return fakes::Record("plc_real_to_float"), 0; }
int float_to_plc_real(const float*, void*) { return fakes::Record("float_to_plc_real"), 0; }
}
