// The PLC vendor's MPI library (w95_s7 and komfort), imported by ordinal. Defined by the
// library, never by the module. Buffers hold PLC memory, most significant byte first.
#pragma once

#if defined(_WIN32) && !defined(_WIN64)
#define ZELMPI_PLC_CALL __stdcall
#else
#define ZELMPI_PLC_CALL
#endif

extern "C" {
// w95_s7
int ZELMPI_PLC_CALL load_tool(unsigned char stationCount, int reserved, const void* stationList);
int ZELMPI_PLC_CALL unload_tool(void);
int ZELMPI_PLC_CALL select_station(int position);  // 1-based position in the loaded list
int ZELMPI_PLC_CALL e_read(int start, int count, void* buffer);
int ZELMPI_PLC_CALL a_read(int start, int count, void* buffer);
int ZELMPI_PLC_CALL m_read(int start, int count, void* buffer);
int ZELMPI_PLC_CALL d_field_read(int db, int start, int count, void* buffer);
int ZELMPI_PLC_CALL a_write(int start, int count, void* buffer);
int ZELMPI_PLC_CALL m_write(int start, int count, void* buffer);
int ZELMPI_PLC_CALL d_field_write(int db, int start, int count, void* buffer);
int ZELMPI_PLC_CALL db_write(int db, int startWord, int* wordCount, void* buffer);
// komfort
int ZELMPI_PLC_CALL plc_real_to_float(const void* plcBytes, float* value);
int ZELMPI_PLC_CALL float_to_plc_real(const float* value, void* plcBytes);
}
