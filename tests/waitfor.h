#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Spins the main thread's event loop until cond holds or timeoutMs pass; returns cond().
template <typename Cond>
bool WaitFor(Cond cond, int timeoutMs = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!cond() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return cond();
}
