#include "modulesimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <stdexcept>

namespace {

TSimOptions ParseOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Simulated KSV500 module on a pseudo-terminal.");
    parser.addHelpOption();
    const QList<QCommandLineOption> options{
        {"baud", "Rate after power-on (default 9600).", "rate", "9600"},
        {"hdx", "Half duplex at 19200 bit/s."},
        {"no-pacing", "Send without wire-time pacing."},
        {"prompt", "Prompt text (default CMD>).", "text", "CMD>"},
        {"br-max", "Refuse BR rates above this.", "rate", "115200"},
        {"password", "Password of the PASSWORD command.", "text", TSimOptions().Password},
        {"no-readout", "ID text contains \"error\", READOUT is rejected."},
        {"no-remote", "No RC: remote control."},
        {"no-password", "No PASSWORD command."},
        {"no-bootloader", "No boot loader: BOOTLOADER is an unknown command."},
        {"id", "Identification text.", "text"},
        {"rdd", "Readout lines of the module to play.", "file"},
        {"values", "Values of that module (lines NAME VALUE...).", "file"},
        {"from", "Play the module stored in an offline file (.ksv).", "file"},
        {"module", "Which module of the --from file (from 1).", "n", "1"},
        {"link", "Also create a symbolic link to the slave device.", "path"},
        {"log", "Append received command lines and events to this file.", "file"},
        {"fail-after", "Stop answering after N command lines.", "n", "0"},
        {"hangup-after", "Close the line after N command lines.", "n", "0"},
        {"garble", "Fraction of output bytes replaced by garbage.", "fraction", "0"},
        {"seed", "Random seed.", "n", "1"},
        {"erase-ms", "Duration of the boot loader's erase.", "ms", "1500"},
    };
    parser.addOptions(options);
    parser.process(app);

    TSimOptions o;
    o.BaudRate = parser.value("baud").toInt();
    o.HalfDuplex = parser.isSet("hdx");
    o.Pacing = !parser.isSet("no-pacing");
    o.Prompt = parser.value("prompt");
    o.BrMax = parser.value("br-max").toInt();
    o.Password = parser.value("password");
    o.Readout = !parser.isSet("no-readout");
    o.Remote = !parser.isSet("no-remote");
    o.PasswordCmd = !parser.isSet("no-password");
    o.Bootloader = !parser.isSet("no-bootloader");
    o.IdText = parser.value("id");
    o.RddFile = parser.value("rdd");
    o.ValuesFile = parser.value("values");
    o.FromFile = parser.value("from");
    o.FromModule = parser.value("module").toInt();
    o.LinkPath = parser.value("link");
    o.LogFile = parser.value("log");
    o.FailAfter = parser.value("fail-after").toInt();
    o.HangupAfter = parser.value("hangup-after").toInt();
    o.Garble = parser.value("garble").toDouble();
    o.Seed = parser.value("seed").toUInt();
    o.EraseMs = parser.value("erase-ms").toInt();
    if (!QList<int>{9600, 19200, 38400, 57600, 115200}.contains(o.BaudRate))
        throw std::runtime_error("--baud must be 9600, 19200, 38400, 57600 or 115200");
    return o;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("ksvsim");
    // Block the stop signals in every thread; the main thread waits for them below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        TModuleSimulator simulator(ParseOptions(app));
        const QString path = simulator.Start();
        std::printf("%s\n", path.toLocal8Bit().constData());
        std::fflush(stdout);
        int received = 0;
        sigwait(&stopSignals, &received);
        simulator.Stop();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "ksvsim: %s\n", error.what());
        return 1;
    }
    return 0;
}
