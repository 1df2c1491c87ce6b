// Placeholder until the simulated PLCs land: the link is never loaded.
#include "platform/plc_library.h"

#define PLC_EXPORT __attribute__((visibility("default")))

extern "C" {
PLC_EXPORT int load_tool(unsigned char, int, const void*) { return 1; }
PLC_EXPORT int unload_tool(void) { return 0; }
PLC_EXPORT int select_station(int) { return 1; }
PLC_EXPORT int e_read(int, int, void*) { return 1; }
PLC_EXPORT int a_read(int, int, void*) { return 1; }
PLC_EXPORT int m_read(int, int, void*) { return 1; }
PLC_EXPORT int d_field_read(int, int, int, void*) { return 1; }
PLC_EXPORT int a_write(int, int, void*) { return 1; }
PLC_EXPORT int m_write(int, int, void*) { return 1; }
PLC_EXPORT int d_field_write(int, int, int, void*) { return 1; }
PLC_EXPORT int db_write(int, int, int*, void*) { return 1; }
}
