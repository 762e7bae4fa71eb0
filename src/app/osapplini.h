#pragma once

#include "osinifile.h"

#include <QObject>
#include <QString>

// The program's settings file: <config folder>/ZOLT/<program name>.ini, where the config folder
// is $XDG_CONFIG_HOME (else ~/.config; %APPDATA% on Windows) and the program name is the
// executable's name without its extension. The folder is created with the component; every
// read and write goes to the file at once, so changes made by hand or by another process are seen.
class TosApplIni : public QObject {
    Q_OBJECT
public:
    explicit TosApplIni(QObject *Parent = nullptr);

    QString FullPath() const { return FIniFile.Path(); }
    // The file name part of the full path, without the folder.
    QString FileName() const;

    // Stored only; nothing depends on it.
    bool WriteFormPara() const { return FWriteFormPara; }
    void SetWriteFormPara(bool Value) { FWriteFormPara = Value; }

    bool ReadBool(const QString &Section, const QString &Key, bool Default) const;
    int ReadInteger(const QString &Section, const QString &Key, int Default) const;
    QString ReadString(const QString &Section, const QString &Key, const QString &Default) const;
    // Each returns false (and warns on the log) when the file could not be written.
    bool WriteBool(const QString &Section, const QString &Key, bool Value);
    bool WriteInteger(const QString &Section, const QString &Key, int Value);
    bool WriteString(const QString &Section, const QString &Key, const QString &Value);

    // The path the settings file of this program has for the current user.
    static QString DefaultFullPath();

private:
    bool Written(bool Ok) const;

    TosIniFile FIniFile;
    bool FWriteFormPara = false;
};
