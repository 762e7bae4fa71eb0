// Identification of the demo module against the simulator pacing every byte at its wire time:
// elapsed time against the time the bytes the module sent need on the wire (in full duplex the
// PC's bytes travel at the same time as the module's echo).
#include "comport.h"
#include "ksvmodcommprot.h"
#include "modulesimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void Measure(TModBaudrate rate)
{
    TSimOptions options;
    options.BaudRate = ModBaudrates[rate];
    options.Pacing = qEnvironmentVariableIsEmpty("KSVBENCH_NO_PACING");
    TModuleSimulator sim(options);
    TKSVModCommProt engine;
    engine.SetPortName(sim.Start());
    engine.SetAutoBaudDetection(false);
    engine.SetFixBaudrate(rate);
    engine.SetBaudRate(rate);
    if (!engine.Connect()) {
        std::printf("%6d bit/s: no connection\n", ModBaudrates[rate]);
        return;
    }
    const quint64 readBefore = engine.Port()->BytesRead();
    QElapsedTimer timer;
    timer.start();
    QString modId;
    const bool ok = engine.Identify(modId);
    const double elapsedMs = double(timer.nsecsElapsed()) / 1e6;
    const quint64 bytes = engine.Port()->BytesRead() - readBefore;
    const double wireMs = double(bytes) * 10.0 * 1000.0 / ModBaudrates[rate];
    std::printf("identify %6d bit/s: %s, %llu bytes, elapsed %8.1f ms, wire %8.1f ms, ratio %.3f\n",
                ModBaudrates[rate], ok ? "ok" : "FAILED", static_cast<unsigned long long>(bytes), elapsedMs, wireMs,
                elapsedMs / wireMs);
    const quint64 before = engine.Port()->BytesRead();
    timer.restart();
    QString answer;
    constexpr int Rounds = 100;
    for (int i = 0; i < Rounds; ++i)
        engine.SendCmd(QStringLiteral("ACODE\r"), QStringLiteral("ACODE"), 200, answer);
    const double perMs = double(timer.nsecsElapsed()) / 1e6 / Rounds;
    const double perWireMs = double(engine.Port()->BytesRead() - before) * 10.0 * 1000.0 / ModBaudrates[rate] / Rounds;
    std::printf("ACODE    %6d bit/s: elapsed %6.3f ms, wire %6.3f ms per transaction\n", ModBaudrates[rate], perMs,
                perWireMs);
    engine.Disconnect();
    sim.Stop();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Measure(mb9600);
    Measure(mb115200);
    return 0;
}
