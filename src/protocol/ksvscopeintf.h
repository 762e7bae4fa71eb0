#pragma once

class TModProcessData;

// What the engine needs of the oscilloscope. It takes its own copy of the process-data list.
class TKSVScopeIntf {
public:
    virtual ~TKSVScopeIntf() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void AssignProcessData(const TModProcessData *processData) = 0;
};
