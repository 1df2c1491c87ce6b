// Calls of the stand-in host runtime that a host program uses beside the four calls the
// driver imports: where the log goes, and the announcement of shutdown to message clients.
#pragma once

#include <cstdio>

extern "C" {
// Log lines go to the named file (appended), or to standard error for nullptr.
// Returns 0, or -1 when the file cannot be opened (the log then stays where it was).
int HuxStandinSetLogFile(const char* path);
// Lines go to this stream instead (nullptr: standard error). The caller keeps it open.
void HuxStandinSetLogStream(FILE* stream);
// Prefix each line with the time of day (HH:MM:SS.mmm) when on is non-zero.
void HuxStandinSetLogTimestamps(int on);
// Every client's HuxWaitMsg returns 0 from now on: the host is shutting down.
void HuxStandinAnnounceShutdown(void);
// Clients registered and not yet removed.
int HuxStandinClientCount(void);
// Clients that have ever been registered.
int HuxStandinClientsCreated(void);
// A host program that runs again in the same process: shutdown not announced, no clients.
void HuxStandinReset(void);
}
