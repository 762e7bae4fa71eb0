#include "osthreadtimer_sl.h"

#include <algorithm>

namespace {
// Bounds every sleep, so that even a direct write of Running takes effect within this time.
constexpr std::chrono::milliseconds MaxSleep{200};
} // namespace

TosThreadTimer_SL::TosThreadTimer_SL()
{
    Resume();
}

TosThreadTimer_SL::~TosThreadTimer_SL()
{
    StopTimer();
    StopAndWait(); // Execute must end before this object does
}

void TosThreadTimer_SL::Execute()
{
    int interval = 0;
    while (WaitForStart(interval)) {
        const std::chrono::milliseconds period{interval};
        auto deadline = Clock::now() + period;
        while (RunContinues()) {
            const auto now = Clock::now();
            if (now < deadline) {
                SleepUntil(std::min(deadline, now + MaxSleep));
                continue;
            }
            deadline = now + period;
            DoTimer();
            EndOneShot();
        }
    }
}
