#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace platform {

namespace {
Clock *installedClock = nullptr;
}

double SystemClock::secondsSinceMidnight() const
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t whole = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&whole, &local);
    const double fraction = duration<double>(now - system_clock::from_time_t(whole)).count();
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

double SystemClock::steadySeconds() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SystemClock::localDateTime() const
{
    return QDateTime::currentDateTime();
}

Clock &clock()
{
    static SystemClock systemClock;
    return installedClock ? *installedClock : systemClock;
}

void setClock(Clock *replacement)
{
    installedClock = replacement;
}

} // namespace platform
