#pragma once

// What the engine needs of the process-data monitor. The value hand-over comes with live data.
class TKSVMonitorIntf {
public:
    virtual ~TKSVMonitorIntf() = default;
};
