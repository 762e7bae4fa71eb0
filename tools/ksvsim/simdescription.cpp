#include "simdescription.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <stdexcept>

namespace {

QStringList ReadLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path).toStdString());
    return QString::fromLatin1(file.readAll()).split(QRegularExpression("\r\n|\r|\n"));
}

} // namespace

QString TSimDescription::PointKey(const QString &name, int index)
{
    return Key(name) + ':' + QString::number(index);
}

TSimDescription TSimDescription::FromFiles(const QString &rddFile, const QString &valuesFile,
                                           const QString &idText)
{
    TSimDescription description;
    description.IdText = idText;
    for (const QString &line : ReadLines(rddFile))
        if (auto entry = TSimEntry::FromReadoutLine(line))
            description.Entries << *entry;
    if (!valuesFile.isEmpty())
        description.Factory = ParseValues(ReadLines(valuesFile));
    if (description.IdText.isEmpty()) {
        const QString base = rddFile.section('/', -1).section('.', 0, 0);
        description.IdText = base + " V1.00 SIM 0001";
    }
    description.FillDefaults();
    return description;
}

TSimValueSet TSimDescription::ParseValues(const QStringList &lines)
{
    TSimValueSet values;
    for (QString line : lines) {
        line.remove("CMD>");
        if (line.endsWith('>'))
            line.chop(1);
        QStringList items = line.split(QRegularExpression("[\\s,]+"), Qt::SkipEmptyParts);
        if (items.isEmpty())
            continue;
        const QString name = items.takeFirst();
        // A curve point may be written as a value answer ("CC:-3 -3 500 -200") or as a
        // parameter-file line ("CC:-3 500 -200").
        if (name.contains(':') && items.size() == 3 && items[0] == name.section(':', -1))
            items.removeFirst();
        values[Key(name)] = items;
    }
    return values;
}

const TSimEntry *TSimDescription::Find(const QString &name) const
{
    for (const TSimEntry &entry : Entries)
        if (entry.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

void TSimDescription::FillDefaults()
{
    for (const TSimEntry &entry : Entries) {
        const QString key = Key(entry.Name);
        switch (entry.Type) {
        case TSimEntry::etText:
            if (!Factory.contains(key))
                Factory[key] = QStringList{entry.ValueList().value(0)};
            break;
        case TSimEntry::etNumeric:
        case TSimEntry::etRemote:
            if (!Factory.contains(key)) {
                const int value = entry.HasLimits() ? std::clamp(0, entry.Min, entry.Max) : 0;
                Factory[key] = QStringList{QString::number(value)};
            }
            break;
        case TSimEntry::etCurve:
            for (int i = -10; i <= 10; ++i)
                if (!Factory.contains(PointKey(entry.Name, i)))
                    Factory[PointKey(entry.Name, i)] =
                        QStringList{QString::number(i * 1000), QString::number(i * 1000)};
            break;
        case TSimEntry::etAnalogIn:
            if (!Factory.contains(key))
                Factory[key] = QStringList{"1000", "1000", "0", "V"};
            break;
        case TSimEntry::etProcess:
        case TSimEntry::etStatus:
            if (!Factory.contains(key))
                Factory[key] = QStringList{"0"};
            break;
        default:
            break;
        }
    }
}
