#include "modid.h"

#include "modtext.h"

bool ParseModId(const QString &IdText, QString &ModType)
{
    ModType.clear();
    QStringList fields = SplitFields(TrimControl(IdText), QLatin1Char(','), true);
    fields.removeAll(QString());
    if (fields.size() < 4)
        return false;
    ModType = fields.first();
    return true;
}
