/* Calls of the stand-in PLC library (w95_s7) that a host program uses beside the eleven link
 * and memory calls the driver imports: which simulated plant the link reaches, fault
 * injection, a look into PLC memory, the clock of animated values, and a call trace.
 * The plant file format, the default plant and the error codes: docs/simulated-plcs.md. */
#ifndef S7_STANDIN_H
#define S7_STANDIN_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The library's answers; every other call result is 0 for success. */
enum {
    S7_STANDIN_BAD_STATION_LIST = 0x0101, /* load_tool: count 0, no list, MPI address > 126 */
    S7_STANDIN_ALREADY_LOADED = 0x0102,   /* load_tool: the link is loaded; unload it first */
    S7_STANDIN_NOT_IN_LIST = 0x0103,      /* select_station: no such position in the list */
    S7_STANDIN_BAD_ARGUMENT = 0x0104,     /* count below 1, negative start, no buffer */
    S7_STANDIN_STATION_NOT_ANSWERING =
        0x4002,                              /* absent, not answering, wrong slot, none selected */
    S7_STANDIN_NO_DATA_BLOCK = 0x8500,       /* the data block does not exist in the PLC */
    S7_STANDIN_PAST_DATA_BLOCK_END = 0x8501, /* the access runs past the end of the data block */
    S7_STANDIN_PAST_AREA_END = 0x8502,       /* the access runs past inputs, outputs or markers */
    S7_STANDIN_LINK_NOT_LOADED = 0xFF10      /* no load_tool yet, or unload_tool since */
};

/* PLC memory areas for S7StandinReadBytes and S7StandinWriteBytes. */
enum {
    S7_STANDIN_DATA_BLOCK = 'D',
    S7_STANDIN_INPUTS = 'I',
    S7_STANDIN_OUTPUTS = 'Q',
    S7_STANDIN_MARKERS = 'M'
};

/* Replaces the plant with the one the file describes. Returns 0, or non-zero with the plant
 * unchanged and a message in error (e.g. "line 12: data block 11 is not defined on PLC 2";
 * error may be NULL). */
int S7StandinLoadFile(const char* path, char* error, int errorSize);
/* The same for the text of a plant file held in memory. */
int S7StandinLoadText(const char* text, char* error, int errorSize);
/* The default plant: every MPI address 0..126 is an answering PLC (any slot) with 1024 bytes
 * of inputs and outputs, 2048 marker bytes and data blocks 1..999 of 1024 zero bytes. */
void S7StandinUseDefault(void);
/* Default plant, link not loaded, no faults, clock running, no trace: a fresh process. */
void S7StandinReset(void);

/* The next count calls (every w95_s7 call except unload_tool) answer code and do nothing.
 * A count of 0 ends an injection still pending. */
void S7StandinFailNextCalls(int count, int code);
/* A PLC that is present stops answering (0) or answers again (non-zero). Returns 0, or -1
 * when the plant has no PLC at that MPI address. */
int S7StandinSetAnswering(int mpi, int answering);

/* PLC memory as the PLC holds it, animated values brought up to date; any PLC, reachable or
 * not. db is used for S7_STANDIN_DATA_BLOCK only. Return 0 or one of the codes above
 * (S7_STANDIN_STATION_NOT_ANSWERING when there is no PLC at mpi). Writing inputs simulates
 * the field; an animated value is overwritten by its animation on the next read. */
int S7StandinReadBytes(int mpi, int area, int db, int start, int count, void* bytes);
int S7StandinWriteBytes(int mpi, int area, int db, int start, int count, const void* bytes);

/* Animated values follow the milliseconds since the plant was loaded. Freezing the clock
 * makes them follow the given time instead, until S7StandinRunClock. */
void S7StandinFreezeClock(long long millisecondsSinceLoad);
void S7StandinRunClock(void);

/* Whether the link is loaded (1) or not (0), and the MPI address of the selected station
 * (-1 when none is selected). */
int S7StandinLinkLoaded(void);
int S7StandinSelectedStation(void);

/* Writes one line per w95_s7 call to stream (NULL: no trace), e.g.
 * "w95_s7: d_field_read(10, 20, 2) = 0 [00 2A]". The caller keeps the stream open. */
void S7StandinSetTraceStream(FILE* stream);

#ifdef __cplusplus
}
#endif

#endif
