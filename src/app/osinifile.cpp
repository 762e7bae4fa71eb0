#include "osinifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// The section name of a header line "[Name]", or nothing for any other line.
std::optional<QString> SectionOfLine(const QString &line)
{
    const QString text = line.trimmed();
    if (!text.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = text.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

// The key as the file spells it.
QString KeyOfLine(const QString &line)
{
    return line.left(line.indexOf(QLatin1Char('='))).trimmed();
}

bool IsComment(const QString &text)
{
    return text.startsWith(QLatin1Char(';')) || text.startsWith(QLatin1Char('#'));
}

// True when the line is "Key=..." for the given key.
bool LineHasKey(const QString &line, const QString &key)
{
    const QString text = line.trimmed();
    if (IsComment(text))
        return false;
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    return eq > 0 && KeyOfLine(text).compare(key, Qt::CaseInsensitive) == 0;
}

bool IsQuoted(const QString &text)
{
    return text.size() >= 2 && (text.front() == QLatin1Char('"') || text.front() == QLatin1Char('\''))
           && text.back() == text.front();
}

QString ValueOfLine(const QString &line)
{
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (IsQuoted(value))
        value = value.mid(1, value.size() - 2);
    return value;
}

// The text written after "=": one line, quoted when reading would otherwise change it.
QString EncodeValue(const QString &value)
{
    QString text = value;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (text != text.trimmed() || IsQuoted(text))
        return QLatin1Char('"') + text + QLatin1Char('"');
    return text;
}

// Index of the header line of the first section with this name, or -1.
qsizetype FindSection(const QStringList &lines, const QString &section)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = SectionOfLine(lines[i]);
        if (name && name->compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

// One past the last line belonging to the section whose header is at index header.
qsizetype SectionEnd(const QStringList &lines, qsizetype header)
{
    qsizetype end = header + 1;
    while (end < lines.size() && !SectionOfLine(lines[end]))
        ++end;
    return end;
}

} // namespace

TosIniFile::TosIniFile(const QString &Path)
    : FPath(Path)
{
}

TosIniFile::TLines TosIniFile::ReadLines() const
{
    TLines result;
    QFile file(FPath);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(file.readAll());
    if (text.isEmpty())
        return result;
    if (text.contains(QLatin1String("\r\n")))
        result.LineBreak = QStringLiteral("\r\n");
    result.Lines = text.split(QLatin1Char('\n'));
    for (QString &line : result.Lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    // The break after the last line is part of the file's form, not an empty last line.
    if (result.Lines.back().isEmpty())
        result.Lines.removeLast();
    return result;
}

bool TosIniFile::SaveLines(const TLines &File) const
{
    QDir().mkpath(QFileInfo(FPath).absolutePath());
    QSaveFile file(FPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text;
    for (const QString &line : File.Lines)
        text += line + File.LineBreak;
    file.write(text.toUtf8());
    return file.commit();
}

std::optional<QString> TosIniFile::Value(const QString &Section, const QString &Key) const
{
    const QStringList lines = ReadLines().Lines;
    const qsizetype header = FindSection(lines, Section);
    if (header < 0)
        return std::nullopt;
    const qsizetype end = SectionEnd(lines, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (LineHasKey(lines[i], Key))
            return ValueOfLine(lines[i]);
    }
    return std::nullopt;
}

QString TosIniFile::ReadString(const QString &Section, const QString &Key, const QString &Default) const
{
    return Value(Section, Key).value_or(Default);
}

int TosIniFile::ReadInteger(const QString &Section, const QString &Key, int Default) const
{
    const auto value = Value(Section, Key);
    if (!value)
        return Default;
    bool ok = false;
    const int decimal = value->toInt(&ok, 10);
    if (ok)
        return decimal;
    if (value->startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const uint pattern = value->mid(2).toUInt(&ok, 16);
        if (ok)
            return int(pattern);
    }
    return Default;
}

bool TosIniFile::ReadBool(const QString &Section, const QString &Key, bool Default) const
{
    return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

bool TosIniFile::WriteString(const QString &Section, const QString &Key, const QString &Value)
{
    TLines file = ReadLines();
    const QString line = Key + QLatin1Char('=') + EncodeValue(Value);
    QStringList &lines = file.Lines;
    const qsizetype header = FindSection(lines, Section);
    if (header < 0) {
        if (!lines.isEmpty() && !lines.back().trimmed().isEmpty())
            lines.append(QString());
        lines.append(QLatin1Char('[') + Section + QLatin1Char(']'));
        lines.append(line);
    } else {
        const qsizetype end = SectionEnd(lines, header);
        qsizetype keyLine = -1;
        qsizetype lastFilled = header;
        for (qsizetype i = header + 1; i < end && keyLine < 0; ++i) {
            if (LineHasKey(lines[i], Key))
                keyLine = i;
            else if (!lines[i].trimmed().isEmpty())
                lastFilled = i;
        }
        if (keyLine >= 0 && ValueOfLine(lines[keyLine]) == Value)
            return true; // keeps the line as the person wrote it
        if (keyLine >= 0)
            lines[keyLine] = KeyOfLine(lines[keyLine]) + QLatin1Char('=') + EncodeValue(Value);
        else
            lines.insert(lastFilled + 1, line);
    }
    return SaveLines(file);
}

bool TosIniFile::WriteInteger(const QString &Section, const QString &Key, int Value)
{
    return WriteString(Section, Key, QString::number(Value));
}

bool TosIniFile::WriteBool(const QString &Section, const QString &Key, bool Value)
{
    return WriteString(Section, Key, Value ? QStringLiteral("1") : QStringLiteral("0"));
}
