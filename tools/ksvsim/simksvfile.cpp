#include "simksvfile.h"

#include <QFile>
#include <QXmlStreamReader>

#include <stdexcept>

namespace {

using TAttrs = QXmlStreamAttributes;

int Number(const TAttrs &a, const char *name, int fallback = 0)
{
    bool ok = false;
    const int value = a.value(QLatin1String(name)).toInt(&ok);
    return ok ? value : fallback;
}

QString Text(const TAttrs &a, const char *name)
{
    return a.value(QLatin1String(name)).toString();
}

bool Boolean(const TAttrs &a, const char *name)
{
    const QString text = Text(a, name);
    return text.compare("True", Qt::CaseInsensitive) == 0 || text.toInt() != 0;
}

TSimEntry CommonEntry(const TAttrs &a)
{
    TSimEntry entry;
    entry.Name = Text(a, "Name");
    entry.Type = Number(a, "Type", 0xFF) & 0xFF; // 0xFF: no usable type
    entry.AType = Number(a, "AType", 2) & 0xFF;
    entry.VType = Number(a, "VType", 1) & 0xFF;
    entry.GCode = Number(a, "GCode", entry.GCode) & 0xFFFF;
    entry.Help = Text(a, "Help");
    return entry;
}

// The entry an element describes, in the fields of a readout line.
TSimEntry EntryOf(const QStringView element, const TAttrs &a)
{
    TSimEntry entry = CommonEntry(a);
    if (element == u"CCmd") {
        entry.Field3 = Text(a, "VList");
        entry.Min = Number(a, "Min");
        entry.Max = Number(a, "Max");
    } else if (element == u"PCmd") {
        entry.Field3 = Text(a, "PhysUnit");
        entry.Max = Number(a, "CompFactor", 1);
    } else if (element == u"SCmd") {
        entry.Min = Number(a, "BIndex");
        entry.Max = (Boolean(a, "BActive") ? 1 : 0) | (Boolean(a, "BInvers") ? 2 : 0) | ((Number(a, "BColor") & 3) << 2);
    }
    return entry;
}

void StoreValues(const TSimEntry &entry, const TAttrs &para, TSimValueSet &values)
{
    const QString key = TSimDescription::Key(entry.Name);
    switch (entry.Type) {
    case TSimEntry::etText:
        values[key] = {Text(para, "Txt")};
        break;
    case TSimEntry::etNumeric:
        values[key] = {QString::number(Number(para, "Val"))};
        break;
    case TSimEntry::etCurve:
        for (int i = 0; i <= 20; ++i)
            values[TSimDescription::PointKey(entry.Name, i - 10)] = {
                QString::number(Number(para, qPrintable("X" + QString::number(i)))),
                QString::number(Number(para, qPrintable("Y" + QString::number(i))))};
        break;
    case TSimEntry::etAnalogIn:
        values[key] = {QString::number(Number(para, "A")), QString::number(Number(para, "B", 1000)),
                       QString::number(Number(para, "C")), Number(para, "X") == 1 ? "C" : "V"};
        break;
    default:
        break;
    }
}

// Reads the children of one "Modul" element up to its end.
void ReadModule(QXmlStreamReader &xml, TSimDescription &d)
{
    qsizetype last = -1; // the entry a "Para" element belongs to
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == u"Modul")
            return;
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        if (name == u"Para" && last >= 0) {
            StoreValues(d.Entries[last], xml.attributes(), d.Factory);
        } else if (name == u"CCmd" || name == u"PCmd" || name == u"SCmd" || name == u"RCmd") {
            const TSimEntry entry = EntryOf(name, xml.attributes());
            last = -1;
            if (!entry.Name.isEmpty() && entry.Type != 0xFF) {
                d.Entries << entry;
                last = d.Entries.size() - 1;
            }
        }
    }
}

} // namespace

TSimDescription TSimKsvFile::Load(const QString &path, int module)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read " + path).toStdString());
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != u"ZOLT-ModulCmdList")
        throw std::runtime_error((path + " is no command-list file").toStdString());
    int count = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"Modul" || ++count != module) {
            xml.skipCurrentElement();
            continue;
        }
        TSimDescription d;
        d.IdText = xml.attributes().value(QLatin1String("ID")).toString();
        ReadModule(xml, d);
        if (xml.hasError())
            break;
        d.FillDefaults();
        return d;
    }
    if (xml.hasError())
        throw std::runtime_error((path + ": " + xml.errorString()).toStdString());
    throw std::runtime_error(QString("%1 has no module %2").arg(path).arg(module).toStdString());
}
