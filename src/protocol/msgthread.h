#pragma once

#include "osbasethread.h"

#include <functional>

// A thread that runs a component's message loop: Execute calls the callback, if one is set.
// Created suspended.
class TMsgThread final : public TosBaseThread {
public:
    using TMsgLoopProc = std::function<void()>;

    explicit TMsgThread(TMsgLoopProc Callback);
    ~TMsgThread() override;

protected:
    void Execute() override;

private:
    const TMsgLoopProc FCallback;
};
