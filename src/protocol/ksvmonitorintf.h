#pragma once

#include <cstdint>

class TASCIIProcDataObj;
class TModProcessData;
class TModStatusInfoData;

// What the engine needs of the process-data monitor. It takes its own copy of the lists and
// whatever it needs of a sample before the call returns.
class TKSVMonitorIntf {
public:
    virtual ~TKSVMonitorIntf() = default;
    virtual void AssignProcessData(const TModProcessData *processData) = 0;
    virtual void AssignStatusInfo(const TModStatusInfoData *statusInfo) = 0;
    virtual void UpdateProcessValue(const TASCIIProcDataObj &sample) = 0;
    // Bit i set: status LED i is on.
    virtual void UpdateStatus(uint16_t ledMask) = 0;
};
