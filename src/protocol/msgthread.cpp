#include "msgthread.h"

#include <utility>

TMsgThread::TMsgThread(TMsgLoopProc Callback)
    : FCallback(std::move(Callback))
{
}

TMsgThread::~TMsgThread()
{
    StopAndWait(); // the callback must outlive the thread
}

void TMsgThread::Execute()
{
    if (FCallback)
        FCallback();
}
