// The live commands of TKsvCtl: monitor polling, remote control and the firmware update.
#include "ksvctl.h"

#include "cmdtables.h"
#include "ksvmodcommprot.h"
#include "modremotectrlcmd.h"
#include "modremotectrlcommandlist.h"
#include "modtext.h"
#include "osthreadtimer_sl.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTime>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int MinPin = 1;
constexpr int MaxPin = 5;

bool ParseByte(const QString &text, uint8_t &value)
{
    bool ok = false;
    const int number = text.toInt(&ok, 0); // 0x.. hexadecimal, 0.. octal, else decimal
    if (!ok || number < 0 || number > 255)
        return false;
    value = uint8_t(number);
    return true;
}

} // namespace

void TKsvCtl::Status(const QString &text)
{
    Out() << text << '\n';
    FOut.flush();
}

// --- monitor --------------------------------------------------------------------------------

int TKsvCtl::RunMonitor()
{
    FEngine->SetMonitor(&FMonitor);
    if (!Identify())
        return FFailCode;
    FMonitor.SetInputsShown(FEngine->RemoteCtrlSupported());
    FEngine->OnDigitalInputStateInfo = [this](TKSVModCommProt *, uint8_t state) { FMonitor.UpdateInputs(state); };
    return RunMonitorPasses();
}

// The engine's own timer drives the passes; the handler around its pass prints each one.
int TKsvCtl::RunMonitorPasses()
{
    TosThreadTimer_SL *timer = FEngine->Timer();
    const TosBaseTimerThread::TTimerEvent enginePass = timer->OnTimer;
    QEventLoop loop;
    int passes = 0;
    timer->OnTimer = [&](TosBaseTimerThread *sender) {
        FMonitor.BeginPass();
        const QTime start = QTime::currentTime();
        enginePass(sender);
        ++passes;
        if (FEngine->PollStopReason() == 1) {
            Fail(ecModule, QStringLiteral("no process value of the module on %1 answered in pass %2; polling stopped")
                               .arg(Where())
                               .arg(passes));
            loop.exit(ecModule);
            return;
        }
        Status(start.toString(QStringLiteral("hh:mm:ss.zzz")) + QLatin1Char(' ') + FMonitor.PassText());
        if (passes >= FOptions.Passes) {
            FEngine->SetOperatingMode(cmIdle);
            loop.exit(ecOk);
        }
    };
    FEngine->SetOperatingMode(cmMonitor);
    if (FOptions.IntervalMs > 0) {
        timer->StopTimer();
        timer->StartTimer(FOptions.IntervalMs, true);
    }
    const int code = loop.exec();
    FEngine->SetOperatingMode(cmIdle);
    timer->OnTimer = enginePass;
    return code;
}

// --- remote control -------------------------------------------------------------------------

int TKsvCtl::RunRemote()
{
    const QStringList &a = FOptions.Args;
    const QString action = a[0];
    const bool onOff = (action == "on" || action == "off") && a.size() == 1;
    int32_t pin = 0;
    int32_t value = 0;
    const bool set = action == "set" && a.size() == 3 && TryStrToInt32(a[1], pin) && pin >= MinPin &&
                     pin <= MaxPin && TryStrToInt32(a[2], value);
    uint8_t state = 0;
    const bool inputs = action == "inputs" && a.size() == 2 && ParseByte(a[1], state);
    if (!onOff && !set && !inputs)
        return UsageFail("remote takes on, off, set PIN VALUE (PIN 1-5) or inputs BYTE (0-255)");
    if (!Identify())
        return FFailCode;
    if (!FEngine->RemoteCtrlSupported())
        return Fail(ecModule, "the module on " + Where() + " has no remote control");
    if (onOff)
        return SwitchRemoteControl(action == "on");
    if (set)
        return SetRemoteValue(pin, value);
    return SetDigitalInputs(state);
}

int TKsvCtl::SwitchRemoteControl(bool on)
{
    FEngine->SetRemoteCtrlEnabled(on);
    const bool enabled = FEngine->RemoteCtrlEnabled();
    Out() << "Remote control: " << (enabled ? "on" : "off") << '\n';
    if (enabled != on)
        return Fail(ecModule, QStringLiteral("the module on %1 did not switch its remote control %2")
                                  .arg(Where(), on ? "on" : "off"));
    return ecOk;
}

int TKsvCtl::SetRemoteValue(int pin, int32_t value)
{
    const TModRemoteCtrlCmd *cmd = FEngine->RemoteCtrlCmds()->FindByPin(pin);
    if (!cmd)
        return Fail(ecModule, QStringLiteral("the module on %1 has no remote input on pin %2 (%3)")
                                  .arg(Where())
                                  .arg(pin)
                                  .arg(RemotePinNames[size_t(pin)]));
    if (!FEngine->RemoteCtrlActive())
        return Fail(ecModule, "remote control is off on the module on " + Where() + "; switch it on with remote on");
    const QString name = cmd->Name;
    int32_t held = value;
    if (!FEngine->WriteRemoteValue(uint8_t(pin), held))
        return Fail(ecModule, "writing " + name + " to the module on " + Where() + " failed");
    Out() << name << ' ' << held << '\n';
    if (held != value)
        return Fail(ecModule,
                    QStringLiteral("the module on %1 did not take %2 %3; it holds %4").arg(Where(), name).arg(value).arg(held));
    return ecOk;
}

int TKsvCtl::SetDigitalInputs(uint8_t state)
{
    uint8_t held = state;
    if (!FEngine->WriteDigitalInputs(held)) {
        if (!FEngine->RemoteCtrlEnabled())
            return Fail(ecModule, "remote control is off on the module on " + Where() + "; switch it on with remote on");
        return Fail(ecModule, "writing the digital inputs to the module on " + Where() + " failed");
    }
    Out() << "RC:S " << held << '\n';
    if (held != state)
        return Fail(ecModule,
                    QStringLiteral("the module on %1 did not take the inputs %2; it holds %3").arg(Where()).arg(state).arg(held));
    return ecOk;
}

// --- firmware -------------------------------------------------------------------------------

// Enter the boot loader, erase, prepare, send the file, start the application: the short run
// of the update assistant, with its status texts.
int TKsvCtl::RunFirmware()
{
    const QString path = FOptions.Args[0];
    if (FOptions.Fast)
        return UsageFail("--fast does not apply to firmware: the module comes back at its own rate");
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return Fail(ecFile, "cannot read " + path);
    TKSVModCommProt &e = *FEngine;
    // A module left in its boot loader by an earlier run does not answer the rate search but
    // still takes the update; its application then comes back at the rate --rate gives.
    if (e.Connect() && FOptions.AutoRate)
        e.SetFixBaudrate(e.BaudRate()); // the application comes back at the rate it runs at now
    else if (!e.PortOpen())
        return Fail(ecModule, "cannot open the port " + Where());
    Status("starting!");
    if (!e.BootloaderStep(0))
        return Fail(ecModule, "Firmware update could not start! Check port settings or availability of the "
                              "bootloader. Restart the module and try it again!");
    Status("erasing!");
    QString problem;
    if (!e.BootloaderStep(2)) {
        problem = "the boot loader on " + Where() + " did not erase the flash";
    } else if (!e.BootloaderStep(3)) {
        problem = "the boot loader on " + Where() + " did not get ready to receive the file";
    } else {
        Status("programming!");
        const bool showProgress = isatty(fileno(stderr));
        e.SendFirmwareFile(path, [this, showProgress](int done, int total) {
            if (showProgress && total > 0)
                ShowProgress(QStringLiteral("programming! %1 % (%2 of %3 bytes)")
                                 .arg(qint64(done) * 100 / total)
                                 .arg(done)
                                 .arg(total),
                             0);
        });
        Status("Ready!");
    }
    // The application is started in any case, so a failed erase leaves the module usable.
    if (!e.BootloaderStep(1)) {
        Status("checksum error!");
        return Fail(ecModule, "the application of the module on " + Where() +
                                  " did not start again; the module stays in its boot loader");
    }
    if (!problem.isEmpty())
        return Fail(ecModule, problem + "; the firmware was not replaced");
    return ecOk;
}
