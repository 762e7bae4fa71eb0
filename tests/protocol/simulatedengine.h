#pragma once

#include "ksvmodcommprot.h"
#include "modcommandlist.h"
#include "modctrlcommand.h"
#include "modulesimulator.h"

#include <gtest/gtest.h>

// The engine connected to an unpaced simulated module at 115200 bit/s; call Identify() first.
struct SimulatedEngine {
    SimulatedEngine() : sim(Options()) { engine.SetPortName(sim.Start()); }

    static TSimOptions Options()
    {
        TSimOptions options;
        options.Pacing = false;
        options.BaudRate = 115200;
        return options;
    }

    // Connects and identifies; use with ASSERT_NO_FATAL_FAILURE.
    void Identify()
    {
        engine.SetAutoSetBaudrate(false);
        ASSERT_TRUE(engine.Connect());
        QString modId;
        ASSERT_TRUE(engine.Identify(modId));
    }

    template <typename T = TModCtrlCommand>
    T *Find(const QString &name) const
    {
        return dynamic_cast<T *>(engine.CmdList()->GetObject(engine.CmdList()->IndexOf(name)));
    }

    TModuleSimulator sim;
    TKSVModCommProt engine;
};
