#pragma once

#include <functional>

// What the engine needs of the terminal view: it shows received characters and reports typed keys.
class TKSVTerminalIntf {
public:
    virtual ~TKSVTerminalIntf() = default;
    virtual void WriteChar(char ch) = 0;
    // The engine installs its handler for typed keys; Response is left to the handler.
    using TTerminalInputEvent = std::function<void(TKSVTerminalIntf *sender, char key, int &response)>;
    virtual void SetOnTerminalInput(TTerminalInputEvent handler) = 0;
};
