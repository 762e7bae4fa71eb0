#include "baseprocdataobj.h"

#include <cmath>

namespace {

const QDate TimeStampEpoch(1899, 12, 30);
constexpr double MsecsPerDay = 86400000.0;

} // namespace

int32_t TBaseProcDataObj::GetValue(int i) const
{
    if (i < 0 || i >= Count || size_t(i) >= Values.size())
        return 0;
    return Values[size_t(i)];
}

double TBaseProcDataObj::TimeStampOf(const QDateTime &dateTime)
{
    const QDateTime local = dateTime.toLocalTime();
    return double(TimeStampEpoch.daysTo(local.date())) + local.time().msecsSinceStartOfDay() / MsecsPerDay;
}

QDateTime TBaseProcDataObj::DateTimeOf(double timeStamp)
{
    qint64 days = qint64(std::floor(timeStamp));
    qint64 msecs = std::llround((timeStamp - double(days)) * MsecsPerDay);
    if (msecs >= qint64(MsecsPerDay)) {
        ++days;
        msecs = 0;
    }
    // Wall-clock time of that day, so that days with a daylight-saving switch read right.
    return QDateTime(TimeStampEpoch.addDays(days), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}
