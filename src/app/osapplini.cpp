#include "osapplini.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtDebug>

namespace {

QString ConfigFolder()
{
#ifdef Q_OS_WIN
    return qEnvironmentVariable("APPDATA");
#else
    // Honours $XDG_CONFIG_HOME and falls back to ~/.config.
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
#endif
}

QString ProgramName()
{
    const QString program = QCoreApplication::instance()
                                ? QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName()
                                : QString();
    return program.isEmpty() ? QStringLiteral("ksv500") : program;
}

} // namespace

TosApplIni::TosApplIni(QObject *Parent)
    : QObject(Parent)
    , FIniFile(DefaultFullPath())
{
    QDir().mkpath(QFileInfo(FullPath()).absolutePath());
}

QString TosApplIni::DefaultFullPath()
{
    return QDir(ConfigFolder()).filePath(QStringLiteral("ZOLT/") + ProgramName() + QStringLiteral(".ini"));
}

QString TosApplIni::FileName() const
{
    return QFileInfo(FullPath()).fileName();
}

bool TosApplIni::ReadBool(const QString &Section, const QString &Key, bool Default) const
{
    return FIniFile.ReadBool(Section, Key, Default);
}

int TosApplIni::ReadInteger(const QString &Section, const QString &Key, int Default) const
{
    return FIniFile.ReadInteger(Section, Key, Default);
}

QString TosApplIni::ReadString(const QString &Section, const QString &Key, const QString &Default) const
{
    return FIniFile.ReadString(Section, Key, Default);
}

bool TosApplIni::WriteBool(const QString &Section, const QString &Key, bool Value)
{
    return Written(FIniFile.WriteBool(Section, Key, Value));
}

bool TosApplIni::WriteInteger(const QString &Section, const QString &Key, int Value)
{
    return Written(FIniFile.WriteInteger(Section, Key, Value));
}

bool TosApplIni::WriteString(const QString &Section, const QString &Key, const QString &Value)
{
    return Written(FIniFile.WriteString(Section, Key, Value));
}

bool TosApplIni::Written(bool Ok) const
{
    if (!Ok)
        qWarning().noquote() << "Settings file could not be written:" << FullPath();
    return Ok;
}
