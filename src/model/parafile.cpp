#include "parafile.h"

#include "answersplit.h"
#include "cmdtables.h"
#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modtext.h"
#include "modtextparacmd.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace {

constexpr int LineWidth = 25;
constexpr int ValueEnd = 24;
constexpr int PointEnd = 31;
constexpr int AinEnd = 40;

const char *const CodePage = "windows-1252";

// Qt without ICU has no Windows-1252; Latin-1 then differs only in the bytes 0x80 ... 0x9F.
QStringDecoder MakeDecoder()
{
    QStringDecoder decoder(CodePage);
    return decoder.isValid() ? std::move(decoder) : QStringDecoder(QStringConverter::Latin1);
}

QStringEncoder MakeEncoder()
{
    QStringEncoder encoder(CodePage);
    return encoder.isValid() ? std::move(encoder) : QStringEncoder(QStringConverter::Latin1);
}

// A text with blanks, commas or quotes would fall apart into several items when read back.
QString QuotedIfNeeded(const QString &text)
{
    const bool plain = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() <= 32 || c == u',' || c == u'"';
    });
    if (plain)
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString ValueLine(const QString &name, const QString &value, int endColumn)
{
    QString line = name.leftJustified(LineWidth, u' ');
    PlaceRightAligned(line, value, endColumn);
    return line;
}

QStringList CurveLines(const TModCCParaCmd &curve)
{
    QStringList lines;
    for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i)
        lines << ValueLine(curve.Name + u':' + QString::number(i), curve.PointText(i), PointEnd);
    return lines;
}

TModCtrlCommand *FindCtrlCommand(const TModCommandList &cmds, const QString &name)
{
    return dynamic_cast<TModCtrlCommand *>(cmds.Command(cmds.IndexOf(name)));
}

} // namespace

QStringList TParaFile::ParaLines(const TModBaseCommand &cmd)
{
    if (cmd.GCode & (1u << cgMaker))
        return {};
    if (auto *text = dynamic_cast<const TModTextParaCmd *>(&cmd))
        return {ValueLine(cmd.Name, QuotedIfNeeded(text->ValueText()), ValueEnd)};
    if (auto *num = dynamic_cast<const TModNumParaCmd *>(&cmd))
        return {ValueLine(cmd.Name, QString::number(num->Val), ValueEnd)};
    if (auto *curve = dynamic_cast<const TModCCParaCmd *>(&cmd))
        return CurveLines(*curve);
    if (auto *ain = dynamic_cast<const TModAinParaCmd *>(&cmd))
        return {ValueLine(cmd.Name, ain->ValueText(), AinEnd)};
    return {};
}

QStringList TParaFile::FileLines(const QString &modId, const TModCommandList &cmds)
{
    // A line break inside the identification would shift every following line.
    QString id = TrimControl(modId);
    id.replace(QRegularExpression(QStringLiteral("[\\r\\n]+")), QStringLiteral(" "));
    QStringList lines{id, QStringLiteral("##")};
    for (int i = 0; i < cmds.Count(); ++i)
        if (const TModBaseCommand *cmd = cmds.Command(i))
            lines << ParaLines(*cmd);
    lines << QStringLiteral("##");
    return lines;
}

bool TParaFile::Save(const QString &path, const QString &modId, const TModCommandList &cmds)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = Encode(FileLines(modId, cmds));
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QByteArray TParaFile::Encode(const QStringList &lines)
{
    QStringEncoder encoder = MakeEncoder();
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += QByteArray(encoder.encode(line)) + QByteArrayLiteral("\r\n");
    return bytes;
}

QStringList TParaFile::Decode(const QByteArray &bytes)
{
    QStringDecoder decoder = MakeDecoder();
    const QString text = decoder.decode(bytes);
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (lines.size() > 0 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool TParaFile::Load(const QString &path)
{
    FLines.clear();
    // Devices and pipes could block or never end.
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileSize)
        return false;
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return false;
    return SetContent(bytes);
}

bool TParaFile::SetContent(const QByteArray &bytes)
{
    FLines.clear();
    if (bytes.size() > MaxFileSize || bytes.contains('\0'))
        return false;
    QStringList lines = Decode(bytes);
    const bool tooLong = std::any_of(lines.cbegin(), lines.cend(),
                                     [](const QString &line) { return line.size() > MaxLineLength; });
    if (tooLong || lines.size() < 3)
        return false;
    FLines = std::move(lines);
    return true;
}

QString TParaFile::IdText() const
{
    if (FLines.isEmpty())
        return {};
    QString id = FLines.first();
    id.remove(QLatin1String("CMD>"));
    id = TrimControl(id);
    id.remove(QLatin1String("ID"));
    return TrimControl(id);
}

bool TParaFile::HasParaBlock() const
{
    return FLines.indexOf(QLatin1String("##"), 1) >= 0;
}

QStringList TParaFile::ParaBlock() const
{
    const qsizetype open = FLines.indexOf(QLatin1String("##"), 1);
    if (open < 0)
        return {};
    const qsizetype close = FLines.indexOf(QLatin1String("##"), open + 1);
    return FLines.mid(open + 1, close < 0 ? -1 : close - open - 1);
}

bool TParaFile::HasDownloadBlock() const
{
    return FLines.indexOf(QLatin1String("#"), 1) >= 0;
}

bool TParaFile::DownloadBlock(QString &block) const
{
    block.clear();
    const qsizetype open = FLines.indexOf(QLatin1String("#"), 1);
    const qsizetype close = open < 0 ? -1 : FLines.indexOf(QLatin1String("#"), open + 1);
    if (close < 0)
        return false;
    block = FLines.mid(open + 1, close - open - 1).join(QString());
    return true;
}

bool TParaFile::ResolveParaLine(const QString &line, const TModCommandList &cmds, QString &name,
                                QStringList &items, TModCtrlCommand *&cmd)
{
    cmd = nullptr;
    name.clear();
    if (!SplitAnswer(line, name, items))
        return false;
    if (cmds.IndexOf(name) >= 0) {
        cmd = FindCtrlCommand(cmds, name);
        return true;
    }
    const qsizetype colon = name.indexOf(u':');
    if (colon < 0)
        return true;
    auto *curve = dynamic_cast<TModCCParaCmd *>(FindCtrlCommand(cmds, name.left(colon)));
    if (!curve)
        return true;
    // A point index that is no integer leaves the curve untouched without counting as unknown.
    int32_t index = 0;
    if (TryStrToInt32(name.mid(colon + 1), index))
        items.prepend(QString::number(index));
    cmd = curve;
    return true;
}
