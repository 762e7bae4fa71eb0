#pragma once

// ksvctl run as a process against simulated modules: the fixture the ksvctl tests share.
#include "modulesimulator.h"
#include "simmodule.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

struct TRun {
    int Code = -1;
    QString Out;
    QString Err;
    QStringList OutLines() const { return Out.split('\n', Qt::SkipEmptyParts); }
    QStringList ErrLines() const { return Err.split('\n', Qt::SkipEmptyParts); }
};

inline TRun RunCtl(const QStringList &args)
{
    QProcess process;
    // Process values are printed in the user's number format; the tests read the C one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");
    process.setProcessEnvironment(environment);
    process.start(KSVCTL_EXE, args);
    TRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        run.Err = "ksvctl did not finish";
        return run;
    }
    run.Code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

inline TSimOptions Unpaced(int rate = 9600)
{
    TSimOptions options;
    options.Pacing = false;
    options.BaudRate = rate;
    return options;
}

inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// ksvctl against one simulated demo module at 9600 bit/s, with a folder for files.
class CtlTest : public ::testing::Test {
protected:
    void SetUp() override { Port = StartSim(Unpaced()); }
    void TearDown() override
    {
        for (auto &sim : Sims)
            sim->Stop();
    }

    QString StartSim(const TSimOptions &options)
    {
        Sims.push_back(std::make_unique<TModuleSimulator>(options));
        return Sims.back()->Start();
    }
    TSimModule &Module() { return Sims.front()->Module(); }
    QString File(const QString &name) const { return Dir.filePath(name); }

    TRun Ctl(const QStringList &args) { return RunCtl(QStringList{"--port", Port} + args); }
    TRun CtlOn(const QString &port, const QStringList &args) { return RunCtl(QStringList{"--port", port} + args); }

    std::vector<std::unique_ptr<TModuleSimulator>> Sims;
    QString Port;
    QTemporaryDir Dir;
};
