#include "simdemo.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int gNewTab = 0x0001, gNewData = 0x0002, gAll = 0x0004, gAppli = 0x0008,
              gPam = 0x0010, gBasic = 0x0020, gMaker = 0x0040, gPassword = 0x0080,
              gPressure = 0x0100, gSpecial = 0x0200;

TSimEntry Param(int atype, int type, const QString &name, const QString &list,
                const QString &help, int vtype, int min, int max, int gcode,
                const QString &app = {})
{
    TSimEntry entry;
    entry.AType = atype;
    entry.Type = type;
    entry.Name = name;
    entry.Field3 = list;
    entry.Help = help;
    entry.VType = vtype;
    entry.Min = min;
    entry.Max = max;
    entry.GCode = gcode;
    entry.App = app;
    return entry;
}

// Status flags: bit 0 active, bit 1 inverted, bits 2-3 colour (1 red, 2 green, 3 yellow).
int Flags(bool active, bool inverted, int colour)
{
    return (active ? 1 : 0) | (inverted ? 2 : 0) | (colour << 2);
}

int ValueOf(const TSimValueSet &working, const QString &key, int fallback = 0)
{
    bool ok = false;
    const int value = working.value(key).value(0).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

TSimDemo::TSimDemo(unsigned seed) : FRandom(seed) {}

TSimDescription TSimDemo::Build()
{
    using E = TSimEntry;
    TSimDescription d;
    d.IdText = DefaultIdText();
    d.Entries = {
        Param(3, E::etText, "SENS", "ON|OFF|AUTO", "Sensor monitoring", 1, 0, 0, gAll | gBasic),
        Param(3, E::etText, "APP", "POS|PRESS", "Application: position or pressure control", 1, 0, 0,
              gNewTab | gNewData | gBasic),
        Param(3, E::etText, "EXPERT", "OFF|ON", "Show the controller settings", 1, 0, 0,
              gNewTab | gBasic),
        Param(3, E::etText, "FSCALE", "100|160|250", "Pressure sensor range in bar", 1, 0, 0,
              gNewData | gPressure),
        Param(3, E::etText, "INPX", "U0-10|I4-20|U+-10", "Type of the feedback input", 1, 0, 0,
              gAll | gAppli),
        Param(3, E::etText, "POL", "+|-", "Output polarity", 1, 0, 0, gAppli | gPam),
        Param(3, E::etNumeric, "RA_UP", "", "Ramp time up in ms", 1, 1, 120000, gAll | gBasic),
        Param(3, E::etNumeric, "RA_DOWN", "", "Ramp time down in ms", 1, 1, 120000, gAll | gBasic),
        Param(3, E::etNumeric, "W_OFFS", "", "Offset of the command input in %", 21, -10000, 10000,
              gAppli),
        Param(3, E::etNumeric, "X_GAIN", "", "Gain of the feedback input", 22, 1, 10000, gAppli),
        Param(3, E::etNumeric, "P_GAIN", "", "Proportional gain", 21, 1, 5000, gSpecial),
        Param(3, E::etNumeric, "I_TIME", "", "Integrator time in ms", 1, 0, 10000, gSpecial),
        Param(3, E::etNumeric, "D_TIME", "", "Derivative time in ms", 1, 0, 1000, gSpecial),
        Param(3, E::etNumeric, "DZ", "", "Dead band in %", 21, 0, 1000, gAppli),
        Param(3, E::etNumeric, "I_MAX", "", "Maximum output current in mA", 1, 500, 2600,
              gAll | gPam),
        Param(3, E::etNumeric, "I_MIN", "", "Minimum output current in mA", 1, 0, 500, gAll | gPam),
        Param(3, E::etNumeric, "DITHER_F", "", "Dither frequency in Hz", 1, 60, 400, gPam),
        Param(3, E::etNumeric, "DITHER_A", "", "Dither amplitude in %", 21, 0, 3000, gPam),
        Param(3, E::etNumeric, "P_MAX", "", "Pressure limit in 0.1 bar", 1, 0, 2500, gPressure),
        Param(2, E::etNumeric, "P_WARN", "", "Pressure warning level in 0.1 bar (from FSCALE)", 1,
              0, 2500, gPressure),
        Param(3, E::etNumeric, "POS_WIN", "", "In-position window in 0.01 %", 21, 0, 2000,
              gAppli, "POS"),
        Param(3, E::etNumeric, "PRS_WIN", "", "Pressure window in 0.1 bar", 1, 0, 500, gPressure,
              "PRESS"),
        Param(3, E::etCurve, "CC", "", "Characteristic curve of the output (X, Y in 0.01 %)", 21,
              -10000, 10000, gAppli | gPam),
        Param(3, E::etAnalogIn, "AIN_W", "", "Command input W: A / B * (X - C)", 1, -10000, 10000,
              gAll | gAppli),
        Param(3, E::etAnalogIn, "AIN_X", "", "Feedback input X: A / B * (X - C)", 1, -10000, 10000,
              gAll | gAppli),
        Param(1, E::etNoValue, "ZERO", "", "Clear the command offset W_OFFS", 1, 0, 0,
              gNewData | gAppli),
        Param(2, E::etNumeric, "SERNO", "", "Serial number", 1, 0, 0, gAll | gBasic),
        Param(2, E::etNumeric, "HOURS", "", "Operating hours", 1, 0, 0, gAll | gBasic),
        Param(3, E::etNumeric, "CAL_I", "", "Current calibration (maker)", 1, 900, 1100, gMaker),
        Param(3, E::etNumeric, "CAL_U", "", "Voltage calibration (maker)", 1, 900, 1100, gMaker),
        Param(3, E::etNumeric, "I_LIMIT", "", "Hard current limit in mA", 1, 0, 3000, gPassword),
        Param(3, E::etText, "LOCK", "OFF|ON", "Lock the front keys", 1, 0, 0, gPassword),

        Param(2, E::etProcess, "W", "%", "Command value", 1, 0, 100, gAll),
        Param(2, E::etProcess, "X", "%", "Actual value", 1, 0, 100, gAll),
        Param(2, E::etProcess, "E", "%", "Control error", 1, 0, 100, gAll),
        Param(2, E::etProcess, "U", "%", "Controller output", 1, 0, 100, gAll),
        Param(2, E::etProcess, "IA", "mA", "Solenoid current", 1, 0, 100, gAll),
        Param(2, E::etProcess, "PA", "bar", "Pressure", 1, 0, 10, gAll),
        Param(2, E::etProcess, "TEMP", "degC", "Board temperature", 1, 0, 10, gAll),
        Param(2, E::etProcess, "UB", "V", "Supply voltage", 1, 0, 100, gAll),

        Param(2, E::etStatus, "ST:READY", "", "Module ready", 1, 0, Flags(true, false, 2), gAll),
        Param(2, E::etStatus, "ST:ENABLE", "", "Enable input", 1, 1, Flags(true, false, 2), gAll),
        Param(2, E::etStatus, "ST:RAMP", "", "Ramp running", 1, 2, Flags(true, false, 3), gAll),
        Param(2, E::etStatus, "ST:ERR_W", "", "Command value out of range", 1, 3,
              Flags(true, false, 1), gAll),
        Param(2, E::etStatus, "ST:ERR_X", "", "Feedback out of range (not used)", 1, 4,
              Flags(false, false, 1), gAll),
        Param(2, E::etStatus, "ST:CABLE", "", "Cable break", 1, 5, Flags(true, true, 1), gAll),
        Param(2, E::etStatus, "ST:TEMP", "", "Temperature warning", 1, 6, Flags(true, false, 3),
              gAll),
        Param(2, E::etStatus, "ST:POWER", "", "Power stage on", 1, 7, Flags(true, false, 2), gAll),
        Param(2, E::etStatus, "ST:SPARE", "", "Spare", 1, 8, Flags(false, false, 0), gAll),
        Param(2, E::etStatus, "ST:EXPERT", "", "Expert settings shown", 1, 9,
              Flags(true, false, 3), gAll),

        Param(3, E::etRemote, "RC:910", "", "Remote command value W (pin 9/10)", 21, -10000,
              10000, gAll),
        Param(3, E::etRemote, "RC:6", "", "Remote feedback X (pin 6)", 21, 0, 10000, gAll),
        Param(3, E::etRemote, "RC:13", "", "Remote pressure command (pin 13)", 21, 0, 10000,
              gAll),
        Param(3, E::etRemote, "RC:14", "", "Remote input pin 14", 21, -10000, 10000, gAll),
        Param(3, E::etRemote, "RC:29", "", "Remote limit (pin 29)", 21, 0, 10000, gAll),
    };
    d.Factory = TSimDescription::ParseValues({
        "SENS ON", "APP POS", "EXPERT OFF", "FSCALE 250", "INPX U0-10", "POL +",
        "RA_UP 1000", "RA_DOWN 1000", "W_OFFS 0", "X_GAIN 100", "P_GAIN 250", "I_TIME 100",
        "D_TIME 0", "DZ 50", "I_MAX 1600", "I_MIN 200", "DITHER_F 120", "DITHER_A 500",
        "P_MAX 2000", "P_WARN 2250", "POS_WIN 100", "PRS_WIN 50", "AIN_W 1000 1000 0 V",
        "AIN_X 1000 1000 400 C", "SERNO 12345", "HOURS 1234", "CAL_I 1000", "CAL_U 1000",
        "I_LIMIT 2600", "LOCK OFF",
    });
    for (int i = -10; i <= 10; ++i) {
        // A slightly progressive curve so that points differ from their index.
        const int x = i * 1000;
        const int y = i * std::abs(i) * 100;
        d.Factory[TSimDescription::PointKey("CC", i)] = {QString::number(x), QString::number(y)};
    }
    d.FillDefaults();
    return d;
}

double TSimDemo::Seconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - FStart).count();
}

int TSimDemo::Noise(int amplitude)
{
    return std::uniform_int_distribution<int>(-amplitude, amplitude)(FRandom);
}

int TSimDemo::ProcessValue(const QString &name, const TSimValueSet &working, bool remote)
{
    const double t = Seconds();
    const double pi = 3.14159265358979;
    const int w = remote ? ValueOf(working, "RC:910")
                         : int(std::fmod(t, 20.0) / 20.0 * 10000.0);
    const int x = int(5000 + 4000 * std::sin(2 * pi * t / 10.0));
    const QString key = name.toUpper();
    if (key == "W") return w;
    if (key == "X") return x;
    if (key == "E") return w - x;
    if (key == "U") return std::clamp((w - x) * ValueOf(working, "P_GAIN", 100) / 100, -10000, 10000);
    if (key == "IA") return int(1200 + 300 * std::sin(2 * pi * t / 4.0));
    if (key == "PA") return 1500 + Noise(20);
    if (key == "TEMP") return 455 + Noise(8);
    if (key == "UB") return 2400 + Noise(10);
    return 0;
}

int TSimDemo::StatusWord(const TSimValueSet &working, bool remote, int digitalInputs)
{
    const double t = Seconds();
    int word = 0x0001 | 0x0020 | 0x0080;   // ready, cable intact (shown inverted), power on
    if (!remote || (digitalInputs & 1))
        word |= 0x0002;
    if (std::fmod(t, 20.0) < 10.0)
        word |= 0x0004;
    if (ProcessValue("W", working, remote) > 9500)
        word |= 0x0008;
    if (455 + Noise(8) > 460)
        word |= 0x0040;
    if (working.value("EXPERT").value(0) == "ON")
        word |= 0x0200;
    return word;
}

void TSimDemo::AfterWrite(const QString &name, TSimValueSet &working) const
{
    const QString key = name.toUpper();
    if (key == "FSCALE") {
        const int range = ValueOf(working, "FSCALE", 250) * 10;
        working["P_WARN"] = {QString::number(range * 9 / 10)};
        working["P_MAX"] = {QString::number(std::min(ValueOf(working, "P_MAX"), range))};
    } else if (key == "ZERO") {
        working["W_OFFS"] = {"0"};
    }
}

int TSimDemo::AccessBits(const TSimValueSet &working)
{
    return working.value("EXPERT").value(0) == "ON" ? gSpecial : 0;
}

bool TSimDemo::Visible(const TSimEntry &entry, const TSimValueSet &working)
{
    return entry.App.isEmpty() || entry.App == working.value("APP").value(0);
}
