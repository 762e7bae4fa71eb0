#pragma once

#include <functional>

class TModCommandList;
class TModCtrlCommand;

// What the engine needs of the parameter grid: rebuilding its rows and a send request.
class TKSVParamListIntf {
public:
    virtual ~TKSVParamListIntf() = default;
    // Lists the commands of cmdList whose groups share a bit with accessCode (-1: no code).
    virtual void BuildRows(TModCommandList *cmdList, int accessCode) = 0;
    using TCmdSendRequestEvent = std::function<void(TKSVParamListIntf *sender, TModCtrlCommand *cmd)>;
    virtual void SetOnCmdSendRequest(TCmdSendRequestEvent handler) = 0;
};
