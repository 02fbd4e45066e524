// Tcl threads and signals: the dialog thread, the walking-editor thread and qKill.
#pragma once
#include <atomic>

struct Tcl_Interp;

extern std::atomic<int> qSignalSlots[5];
extern int qTclThreadIndex;
extern int qTclUsed;

int qStartTclThread(int n);
void qTclSighandler(int signal);
int qKill(int thread, int signal);
void reportProgress(int n);
void serveMainThreadRequests();
