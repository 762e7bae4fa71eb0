#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// A hand-editable INI file read and written like the Windows profile functions: sections and
// keys match without regard to letter case, values are the text after "=" (blanks around it
// trimmed, one pair of enclosing quotes removed), and every call goes to the file itself.
// A write changes or adds one line and leaves every other line, comment and key as it was.
class TosIniFile {
public:
    explicit TosIniFile(const QString &Path);

    QString Path() const { return FPath; }

    QString ReadString(const QString &Section, const QString &Key, const QString &Default) const;
    // Decimal, or hexadecimal with "0x" (read as a 32-bit pattern); anything else gives Default.
    int ReadInteger(const QString &Section, const QString &Key, int Default) const;
    // Stored as 1 and 0; any integer other than 0 reads as true.
    bool ReadBool(const QString &Section, const QString &Key, bool Default) const;

    // Each returns false when the file could not be written.
    bool WriteString(const QString &Section, const QString &Key, const QString &Value);
    bool WriteInteger(const QString &Section, const QString &Key, int Value);
    bool WriteBool(const QString &Section, const QString &Key, bool Value);

    // The stored text of a key, if the file has it.
    std::optional<QString> Value(const QString &Section, const QString &Key) const;

private:
    struct TLines {
        QStringList Lines;
        QString LineBreak = QStringLiteral("\n");
    };

    TLines ReadLines() const;
    bool SaveLines(const TLines &File) const;

    QString FPath;
};
