#include "simentry.h"

QStringList TSimEntry::ValueList() const
{
    const QString list = Field3.trimmed();
    return list.isEmpty() ? QStringList() : list.split('|');
}

QString TSimEntry::ReadoutLine() const
{
    return QStringList{QString::number(AType), QString::number(Type), Name, Field3, Help,
                       QString::number(VType), QString::number(Min), QString::number(Max),
                       QString::number(GCode)}
        .join('\\');
}

std::optional<TSimEntry> TSimEntry::FromReadoutLine(const QString &line)
{
    QString text = line.trimmed();
    if (text.endsWith('\\'))
        text.chop(1);
    const QStringList fields = text.split('\\');
    if (fields.size() < 6)
        return std::nullopt;
    bool ok = false;
    TSimEntry entry;
    entry.Type = fields[1].trimmed().toInt(&ok) & 0xFF;
    if (!ok)
        return std::nullopt;
    auto number = [&fields](int index, int fallback) {
        bool valid = false;
        const int value = index < fields.size() ? fields[index].trimmed().toInt(&valid) : 0;
        return valid ? value : fallback;
    };
    entry.AType = number(0, 2) & 0xFF;
    entry.Name = fields[2].trimmed();
    entry.Field3 = fields[3];
    entry.Help = fields[4];
    entry.VType = number(5, 1) & 0xFF;
    entry.Min = number(6, entry.Min);
    entry.Max = number(7, entry.Type == etProcess ? 1 : 0);
    entry.GCode = number(8, entry.GCode) & 0xFFFF;
    if (entry.Name.isEmpty())
        return std::nullopt;
    return entry;
}
