#pragma once

// What the engine needs of the oscilloscope. Sampling and channel hand-over come with live data.
class TKSVScopeIntf {
public:
    virtual ~TKSVScopeIntf() = default;
    virtual void SetEnabled(bool enabled) = 0;
};
