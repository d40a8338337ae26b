// The throttle of progress reports.
#include "base/progress.h"

#include <chrono>

bool progressDue(ProgressThrottle& throttle, double now, double& fraction)
{
    if (fraction < throttle.lastFraction)
        fraction = throttle.lastFraction;
    const bool first = throttle.lastTime < 0.0;
    const bool last = fraction >= 1.0;
    if (!first && !last && now - throttle.lastTime < throttle.interval)
        return false;
    throttle.lastTime = now;
    throttle.lastFraction = fraction;
    return true;
}

double progressClock()
{
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}
