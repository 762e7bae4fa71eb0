#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TModBaseCommand;
class TModCommandList;
class TModCtrlCommand;

// The legacy parameter file (.par): Windows-1252 text, lines ended by CR LF. Line 1 is the
// module identification. The values follow either as fixed-column lines between two "##" lines
// (the layout written here) or as an old "#" block that the module takes with DOWNLOAD.
class TParaFile {
public:
    // Limits for files from elsewhere: a real parameter file is a few kilobytes.
    static constexpr qint64 MaxFileSize = 4 * 1024 * 1024;
    static constexpr qsizetype MaxLineLength = 4096;

    // The fixed-column lines of one command: one line for text, numeric and analogue-input
    // commands, 21 for a curve, none for other types and maker-internal commands.
    static QStringList ParaLines(const TModBaseCommand &cmd);
    // Identification, "##", the lines of every command in list order, "##".
    static QStringList FileLines(const QString &modId, const TModCommandList &cmds);
    // Writes the file in one piece: on failure an existing file stays as it was.
    static bool Save(const QString &path, const QString &modId, const TModCommandList &cmds);

    static QByteArray Encode(const QStringList &lines);
    // CR, LF and CR LF each end a line; a break at the very end opens no further line.
    static QStringList Decode(const QByteArray &bytes);

    // False for a file that cannot be used: unreadable, not a regular file, larger than
    // MaxFileSize, binary (NUL bytes), a line longer than MaxLineLength, fewer than three lines.
    bool Load(const QString &path);
    bool SetContent(const QByteArray &bytes);
    const QStringList &Lines() const { return FLines; }

    // Line 1 without "CMD>", "ID" and surrounding blanks.
    QString IdText() const;
    // The lines after the first "##" line (from line 2 on) up to the next "##" or the end.
    bool HasParaBlock() const;
    QStringList ParaBlock() const;
    // The lines after the first "#" line (from line 2 on), joined without separators, up to
    // the next "#" line; false when there is no "#" line or no closing one.
    bool HasDownloadBlock() const;
    bool DownloadBlock(QString &block) const;

    // Splits one block line and finds its command. False for a line without items (skip it);
    // true with cmd null for a name the list holds no control command of. A curve point line
    // "CC:5 1200 -300" gives the curve CC with the items 5, 1200 and -300.
    static bool ResolveParaLine(const QString &line, const TModCommandList &cmds, QString &name,
                                QStringList &items, TModCtrlCommand *&cmd);

private:
    QStringList FLines;
};
