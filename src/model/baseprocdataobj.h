#pragma once

#include "object.h"

#include <QDateTime>
#include <cstdint>
#include <vector>

// One sample of process data on its way from the protocol engine to the monitor and the scope.
// A sample never changes after construction; receivers copy what they need.
class TBaseProcDataObj : public TObject {
public:
    int32_t Count = 0;
    std::vector<int32_t> Values;
    double TimeStamp = 0;  // days since 1899-12-30, time of day as the fraction

    // Values[i], or 0 outside 0 ... Count - 1.
    int32_t GetValue(int i) const;

    // Conversions between local date and time and the TimeStamp scale.
    static double TimeStampOf(const QDateTime &dateTime);
    static QDateTime DateTimeOf(double timeStamp);

protected:
    TBaseProcDataObj() = default;
    // Called by the constructor of each sample class with that constructor's arguments.
    virtual void Init(const void *data, int length, double timeStamp, bool flag) = 0;
};
