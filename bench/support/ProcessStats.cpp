#include "support/ProcessStats.h"

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace bench {

namespace {

// A "Name:   value" field of /proc/self/status, which describes the main thread.
long statusField(const std::string &name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.compare(0, name.size() + 1, name + ":") == 0)
            return std::stol(line.substr(name.size() + 1));
    }
    return -1;
}

} // namespace

MemorySample sampleMemory()
{
    long totalPages = 0;
    long residentPages = 0;
    std::ifstream("/proc/self/statm") >> totalPages >> residentPages;
    const struct mallinfo2 heap = mallinfo2();
    MemorySample sample;
    sample.residentKiB = static_cast<double>(residentPages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024;
    sample.heapKiB = static_cast<double>(heap.uordblks + heap.hblkhd) / 1024;
    return sample;
}

bool heapFigureExact()
{
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    return tunables && std::strstr(tunables, "glibc.malloc.tcache_count=0");
}

double peakResidentKiB()
{
    return static_cast<double>(statusField("VmHWM"));
}

ContextSwitches mainThreadSwitches()
{
    return {statusField("voluntary_ctxt_switches"), statusField("nonvoluntary_ctxt_switches")};
}

ContextSwitches processSwitches()
{
    struct rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {usage.ru_nvcsw, usage.ru_nivcsw};
}

} // namespace bench
