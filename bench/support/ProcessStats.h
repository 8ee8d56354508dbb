#pragma once

namespace bench {

struct MemorySample
{
    double residentKiB = 0; // resident set size
    double heapKiB = 0;     // bytes handed out by malloc and not yet freed
};

MemorySample sampleMemory();
// glibc keeps freed small blocks in a per-thread cache that still counts as in use, so the heap figure creeps up
// while that cache fills; with GLIBC_TUNABLES=glibc.malloc.tcache_count=0 the figure is exact.
bool heapFigureExact();
double peakResidentKiB();

struct ContextSwitches
{
    long voluntary = 0;   // the thread blocked: each sleep in the event loop counts one
    long involuntary = 0; // the scheduler took the processor away
};

ContextSwitches mainThreadSwitches();
ContextSwitches processSwitches(); // every thread of the process

} // namespace bench
