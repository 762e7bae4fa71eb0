#pragma once

#include "comport.h"
#include "modulesimulator.h"
#include "simlog.h"
#include "simmodule.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

// A simulator serving on its own thread and the project's serial port opened on it.
class SimFixture : public ::testing::Test {
protected:
    static TSimOptions FastOptions()
    {
        TSimOptions options;
        options.Pacing = false;
        options.EraseMs = 50;
        options.ReportDelayMs = 300;
        options.StartDelayMs = 150;
        return options;
    }

    void StartSim(const TSimOptions &options, int portRate)
    {
        Sim = std::make_unique<TModuleSimulator>(options);
        Port.SetPort(Sim->Start());
        Port.SetBaudRate(portRate);
        Port.Open();
    }
    void StartSim(int rate = 9600)
    {
        TSimOptions options = FastOptions();
        options.BaudRate = rate;
        StartSim(options, rate);
    }
    void TearDown() override
    {
        Port.Close();
        if (Sim)
            Sim->Stop();
    }

    // Writes text and collects what comes back until it ends with `until` or a character
    // takes longer than timeoutMs.
    QByteArray Transact(const QByteArray &text, const QByteArray &until = ">",
                        int timeoutMs = 3000)
    {
        Port.Purge();
        Port.Write(text);
        return ReadUntil(until, timeoutMs);
    }
    QByteArray ReadUntil(const QByteArray &until, int timeoutMs = 3000)
    {
        Port.SetTimeouts({-1, 0, timeoutMs});
        QByteArray answer;
        char c = 0;
        while (!answer.endsWith(until) && Port.Read(&c, 1) == 1)
            answer += c;
        return answer;
    }
    // Everything that arrives until the line has been quiet for quietMs.
    QByteArray ReadQuiet(int quietMs)
    {
        Port.SetTimeouts({-1, 0, quietMs});
        QByteArray answer;
        char c = 0;
        while (Port.Read(&c, 1) == 1)
            answer += c;
        return answer;
    }
    static bool AllGarbage(const QByteArray &bytes)
    {
        for (char c : bytes)
            if (uchar(c) < 0x80)
                return false;
        return !bytes.isEmpty();
    }

    std::unique_ptr<TModuleSimulator> Sim;
    TComPort Port;
};
