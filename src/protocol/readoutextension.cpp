#include "readoutextension.h"

#include "modid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

constexpr qint64 MaxFileSize = 4 * 1024 * 1024; // a description is a few kilobytes

QStringList &OverrideDirs()
{
    static QStringList dirs;
    return dirs;
}

QString ProgramDir()
{
    const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return QDir::toNativeSeparators(dir + QLatin1Char('/'));
}

} // namespace

QStringList ReadoutExtensionDirs()
{
    if (!OverrideDirs().isEmpty())
        return OverrideDirs();
    return {ProgramDir(), QStringLiteral(KSV500_DATA_DIR "/")};
}

void SetReadoutExtensionDirs(const QStringList &dirs)
{
    OverrideDirs() = dirs;
}

TReadoutExtension LoadReadoutExtension(const QString &ModId)
{
    TReadoutExtension ext;
    const QStringList dirs = ReadoutExtensionDirs();
    ext.Dir = dirs.value(0);
    QString type;
    if (!ParseModId(ModId, type))
        return ext;
    ext.FileName = type + QStringLiteral(".rdd");
    for (const QString &dir : dirs) {
        QFile file(QDir(dir).filePath(ext.FileName));
        if (!file.exists() || file.size() > MaxFileSize || !file.open(QIODevice::ReadOnly))
            continue;
        static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
        ext.Lines = QString::fromLatin1(file.readAll()).split(lineEnd, Qt::SkipEmptyParts);
        ext.Found = true;
        break;
    }
    return ext;
}
