#pragma once

#include "ksvmonitorintf.h"
#include "modprocessdata.h"

#include <QString>

#include <optional>
#include <vector>

// The process-data monitor without a window: it keeps what one monitor pass delivered, so
// ksvctl prints each pass as one line.
class TCtlMonitor : public TKSVMonitorIntf {
public:
    void AssignProcessData(const TModProcessData *processData) override;
    void AssignStatusInfo(const TModStatusInfoData *statusInfo) override;
    void UpdateProcessValue(const TASCIIProcDataObj &sample) override;
    void UpdateStatus(uint16_t ledMask) override;
    void UpdateInputs(uint8_t state) { FInputs = state; }
    // The module has digital inputs that the PC can read (remote control).
    void SetInputsShown(bool shown) { FInputsShown = shown; }

    // Forgets what the previous pass delivered.
    void BeginPass();
    // "NAME=VALUE UNIT" for every process value ("NAME=? UNIT" when it gave none this pass),
    // then "status=0x...." when the module has status bits and "inputs=0x.." when it has
    // inputs; "?" for what did not arrive.
    QString PassText() const;

private:
    TModProcessData FProcessData;
    std::vector<bool> FReceived;
    bool FStatusShown = false;
    bool FInputsShown = false;
    std::optional<uint16_t> FStatusMask;
    std::optional<uint8_t> FInputs;
};
