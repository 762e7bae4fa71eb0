#pragma once

#include "osbasetimerthread.h"

// The timer of the protocol engine. After a start the first call comes one interval later; the
// next deadline is taken before each call, so a call longer than the interval is followed at
// once by the next one; calls never overlap. A run started without RepeatRun makes one call.
class TosThreadTimer_SL final : public TosBaseTimerThread {
public:
    TosThreadTimer_SL();
    ~TosThreadTimer_SL() override;

protected:
    void Execute() override;
};
