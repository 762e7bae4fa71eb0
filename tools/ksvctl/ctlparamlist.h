#pragma once

#include "ksvparamlistintf.h"

#include <vector>

// The parameter table without a window: it keeps the rows the engine asks it to build, so
// ksvctl lists exactly what the table would show for the module's access code.
class TCtlParamList : public TKSVParamListIntf {
public:
    void BuildRows(TModCommandList *cmdList, int accessCode) override;
    void SetOnCmdSendRequest(TCmdSendRequestEvent handler) override { FOnCmdSendRequest = std::move(handler); }

    // The listed commands in list order; valid until the engine empties or refills its list.
    const std::vector<TModCtrlCommand *> &Rows() const { return FRows; }
    int Mask() const { return FMask; }

private:
    std::vector<TModCtrlCommand *> FRows;
    int FMask = 0;
    TCmdSendRequestEvent FOnCmdSendRequest;
};
