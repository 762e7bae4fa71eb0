#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Points $XDG_CONFIG_HOME at a fresh temporary folder for the life of the object, so the
// settings file of the test program lands there; restores the previous value afterwards.
class TTempConfigHome {
public:
    TTempConfigHome()
        : FHadValue(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
        , FOldValue(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", FDir.path().toLocal8Bit());
    }
    ~TTempConfigHome()
    {
        if (FHadValue)
            qputenv("XDG_CONFIG_HOME", FOldValue);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

    QString Path() const { return FDir.path(); }

    static QByteArray ReadFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void WriteFile(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
    }

private:
    QTemporaryDir FDir;
    bool FHadValue;
    QByteArray FOldValue;
};
