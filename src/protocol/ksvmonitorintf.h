#pragma once

class TModProcessData;
class TModStatusInfoData;

// What the engine needs of the process-data monitor. It takes its own copy of the lists.
class TKSVMonitorIntf {
public:
    virtual ~TKSVMonitorIntf() = default;
    virtual void AssignProcessData(const TModProcessData *processData) = 0;
    virtual void AssignStatusInfo(const TModStatusInfoData *statusInfo) = 0;
};
