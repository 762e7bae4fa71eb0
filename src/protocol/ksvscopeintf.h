#pragma once

#include <QString>

#include <array>

class TASCIIProcDataObj;
class TModProcessData;

// What the engine needs of the oscilloscope. It takes its own copy of the process-data list.
// AddChannelSamples, DataSampleRate and Signal are called on the sampling timer's thread.
class TKSVScopeIntf {
public:
    virtual ~TKSVScopeIntf() = default;
    virtual void SetEnabled(bool enabled) = 0;
    virtual void AssignProcessData(const TModProcessData *processData) = 0;
    // One sample or none per channel, channels 1 to 4; the samples die after the call.
    virtual void AddChannelSamples(const std::array<const TASCIIProcDataObj *, 4> &samples) = 0;
    // The sample period in ms.
    virtual int DataSampleRate() const = 0;
    // The process value shown on channel 0 to 3 (its Name; empty for none).
    virtual QString Signal(int channel) const = 0;
};
