#include "simmodule.h"

#include "simksvfile.h"

#include <QRegularExpression>

namespace {

const QStringList gViews{"SYSTEM", "IO_CONFIG", "START_UP", "POSITION", "OUTPUT", "P_STAGE"};
const int gViewMasks[] = {0x013C, 0x000C, 0x0024, 0x0014, 0x0104, 0x0110};
constexpr int gPasswordBit = 0x0080;
const QList<int> gBrNumbers{1, 2, 4, 6, 12};

bool ToInt(const QString &text, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

} // namespace

TSimModule::TSimModule(const TSimOptions &options) : FOptions(options)
{
    if (!options.FromFile.isEmpty()) {
        FDescription = TSimKsvFile::Load(options.FromFile, options.FromModule);
        if (!options.IdText.isEmpty())
            FDescription.IdText = options.IdText;
    } else if (options.RddFile.isEmpty()) {
        FDescription = TSimDemo::Build();
        FDemo = std::make_unique<TSimDemo>(options.Seed);
        if (!options.IdText.isEmpty())
            FDescription.IdText = options.IdText;
    } else {
        FDescription = TSimDescription::FromFiles(options.RddFile, options.ValuesFile,
                                                  options.IdText);
    }
    if (!options.Remote)
        FDescription.Entries.removeIf(
            [](const TSimEntry &e) { return e.Type == TSimEntry::etRemote; });
    FWorking = FStored = FDescription.Factory;
}

QByteArray TSimModule::Prompt() const { return FOptions.Prompt.toLatin1(); }
TSimReply TSimModule::Ok() const { return {"\r\n" + Prompt()}; }

TSimReply TSimModule::Lines(const QStringList &lines) const
{
    QByteArray text = "\r\n";
    for (const QString &line : lines)
        text += line.toLatin1() + "\r\n";
    return {text + Prompt()};
}

TSimReply TSimModule::Values(const QStringList &values) const
{
    return {' ' + values.join(' ').toLatin1() + "\r\n" + Prompt()};
}

TSimReply TSimModule::Error(const QString &reason) const
{
    return Lines({reason.isEmpty() ? "command error" : "command error (" + reason + ")"});
}

QString TSimModule::IdText() const
{
    std::lock_guard lock(FLock);
    return FOptions.Readout ? FDescription.IdText : FDescription.IdText + " NOREADOUT error";
}

QStringList TSimModule::ReadoutLines() const
{
    std::lock_guard lock(FLock);
    QStringList lines;
    for (const TSimEntry &entry : FDescription.Entries)
        if (!FDemo || TSimDemo::Visible(entry, FWorking))
            lines << entry.ReadoutLine();
    return lines;
}

QStringList TSimModule::Value(const QString &name) const
{
    std::lock_guard lock(FLock);
    return FWorking.value(TSimDescription::Key(name));
}

int TSimModule::AccessCode() const
{
    std::lock_guard lock(FLock);
    return AccessCodeLocked();
}

bool TSimModule::RemoteActive() const
{
    std::lock_guard lock(FLock);
    return FRemote;
}

int TSimModule::AccessCodeLocked() const
{
    int code = gViewMasks[std::max(0, int(gViews.indexOf(FView)))];
    if (FDemo)
        code |= TSimDemo::AccessBits(FWorking);
    if (FLoggedIn)
        code |= gPasswordBit;
    return code;
}

void TSimModule::Restart()
{
    std::lock_guard lock(FLock);
    FWorking = FStored;
    FLoggedIn = FRemote = false;
    FDigital = 0;
    FView = "SYSTEM";
}

TSimReply TSimModule::Execute(const QByteArray &line)
{
    const QStringList tokens =
        QString::fromLatin1(line).split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    if (tokens.isEmpty())
        return Ok();
    const QString word = tokens[0].toUpper();
    const QStringList args = tokens.mid(1);

    if (word == "ID" && args.isEmpty())
        return Lines({IdText()});
    if (word == "READOUT" && args.isEmpty())
        return FOptions.Readout ? Lines(ReadoutLines()) : Error();

    std::lock_guard lock(FLock);
    if (word == "BR")
        return BaudRate(args);
    if (word == "PASSWORD" && FOptions.PasswordCmd)
        return Password(args);
    if (word == "ACODE" && args.isEmpty())
        return Values({QString::number(AccessCodeLocked())});
    if (word == "SAVE" && args.isEmpty()) {
        FStored = FWorking;
        return Ok();
    }
    if (word == "LOADBACK" && args.isEmpty()) {
        FWorking = FStored;
        return Ok();
    }
    if (word == "DEFAULT" && args.isEmpty()) {
        FWorking = FDescription.Factory;
        return Ok();
    }
    if (word == "DOWNLOAD" && args.isEmpty()) {
        TSimReply reply{"\r\nsend parameter block!"};
        reply.AwaitBlock = true;
        return reply;
    }
    if (word == "MODE" && FDemo)
        return Mode(args);
    if (word == "REMOTE" && args.isEmpty())
        return FOptions.Remote ? Error() : Values({"0"});
    if (word == "RC:M" && FOptions.Remote)
        return RemoteMode(args);
    if (word == "RC:S" && FOptions.Remote)
        return RemoteInputs(args);
    if (word == "BOOTLOADER" && args.isEmpty() && FOptions.Bootloader) {
        TSimReply reply{"\r\n"};
        reply.EnterBootloader = true;
        return reply;
    }
    return Entry(tokens[0], args);
}

TSimReply TSimModule::BaudRate(const QStringList &args)
{
    if (args.isEmpty())
        return Values({QString::number(FOptions.HalfDuplex ? 2 : 0)});
    int number = 0;
    if (args.size() != 1 || !ToInt(args[0], number) || !gBrNumbers.contains(number))
        return Error();
    const int rate = number * 9600;
    if (rate > FOptions.BrMax || (FOptions.HalfDuplex && rate != 19200))
        return Error("rate");
    TSimReply reply = Ok();
    reply.NewRate = rate;
    return reply;
}

TSimReply TSimModule::Password(const QStringList &args)
{
    if (args.isEmpty())
        return Lines({FLoggedIn ? "unlocked" : "locked"});
    FLoggedIn = args.join(' ') == FOptions.Password;
    return Lines({FLoggedIn ? "OK" : "wrong password"});
}

TSimReply TSimModule::Mode(const QStringList &args)
{
    if (args.size() != 1)
        return Error();
    if (args[0] == "?")
        return Lines({gViews.join(' ') + ' '});
    const QString view = args[0].toUpper();
    if (!gViews.contains(view))
        return Error();
    FView = view;
    return Ok();
}

TSimReply TSimModule::RemoteMode(const QStringList &args)
{
    if (args.isEmpty())
        return Values({FRemote ? "1" : "0"});
    if (args.size() != 1)
        return Error();
    if (args[0] == "?")
        return Lines({"Q(PIN10) X(PIN6) p(PIN13) PIN14 L(PIN29)"});
    if (args[0] != "0" && args[0] != "1")
        return Error();
    FRemote = args[0] == "1";
    return Ok();
}

TSimReply TSimModule::RemoteInputs(const QStringList &args)
{
    if (args.isEmpty())
        return Values({QString::number(FDigital)});
    if (args.size() != 1)
        return Error();
    if (args[0] == "?")
        return Lines({"ENABLE PQ RAMP START HOLD   "});
    int state = 0;
    if (!ToInt(args[0], state) || state < 0 || state > 255)
        return Error();
    if (!FRemote)
        return Error("remote off");
    FDigital = state;
    return Ok();
}

const TSimEntry *TSimModule::FindVisible(const QString &name) const
{
    const TSimEntry *entry = FDescription.Find(name);
    if (entry && FDemo && !TSimDemo::Visible(*entry, FWorking))
        return nullptr;
    return entry;
}

int TSimModule::ReadValue(const TSimEntry &entry)
{
    const QString key = TSimDescription::Key(entry.Name);
    if (FDemo && entry.Type == TSimEntry::etProcess)
        return FDemo->ProcessValue(entry.Name, FWorking, FRemote);
    if (FDemo && entry.Type == TSimEntry::etStatus)
        return FDemo->StatusWord(FWorking, FRemote, FDigital);
    return FWorking.value(key).value(0).toInt();
}

TSimReply TSimModule::Entry(const QString &name, const QStringList &args)
{
    const TSimEntry *entry = FindVisible(name);
    const int colon = name.lastIndexOf(':');
    if (!entry && colon > 0) {
        const TSimEntry *curve = FindVisible(name.left(colon));
        int index = 0;
        if (curve && curve->Type == TSimEntry::etCurve && ToInt(name.mid(colon + 1), index))
            return CurvePoint(*curve, index, args);
    }
    if (!entry)
        return Error();
    const QString key = TSimDescription::Key(entry->Name);
    if (entry->Type == TSimEntry::etNoValue) {
        if (!entry->Writable())
            return Error("read only");
        if (FDemo)
            FDemo->AfterWrite(entry->Name, FWorking);
        return Ok();
    }
    if (args.isEmpty()) {
        if (!entry->Readable() || entry->Type == TSimEntry::etCurve)
            return Error();
        switch (entry->Type) {
        case TSimEntry::etProcess:
        case TSimEntry::etStatus:
            return Values({QString::number(ReadValue(*entry))});
        default:
            return Values(FWorking.value(key));
        }
    }
    const QString problem = Store(*entry, args);
    if (!problem.isEmpty())
        return Error(problem);
    if (FDemo)
        FDemo->AfterWrite(entry->Name, FWorking);
    return Ok();
}

QString TSimModule::Store(const TSimEntry &entry, const QStringList &args)
{
    const QString key = TSimDescription::Key(entry.Name);
    if (!entry.Writable())
        return "read only";
    auto inRange = [&entry](int value) {
        return !entry.HasLimits() || (value >= entry.Min && value <= entry.Max);
    };
    int value = 0;
    switch (entry.Type) {
    case TSimEntry::etText: {
        if (args.size() != 1)
            return "value";
        for (const QString &item : entry.ValueList())
            if (item.compare(args[0], Qt::CaseInsensitive) == 0) {
                FWorking[key] = {item};
                return {};
            }
        return "value list";
    }
    case TSimEntry::etNumeric:
        if (args.size() != 1 || !ToInt(args[0], value))
            return "value";
        if (!inRange(value))
            return "range";
        FWorking[key] = {QString::number(value)};
        return {};
    case TSimEntry::etRemote:
        if (args.size() != 1 || !ToInt(args[0], value))
            return "value";
        if (!FRemote)
            return "remote off";
        if (!inRange(value))
            return "range";
        FWorking[key] = {QString::number(value)};
        return {};
    case TSimEntry::etAnalogIn: {
        if (args.size() < 3 || args.size() > 4)
            return "value";
        int a = 0, b = 0, c = 0;
        if (!ToInt(args[0], a) || !ToInt(args[1], b) || !ToInt(args[2], c))
            return "value";
        if (!inRange(a) || !inRange(b) || b == 0 || c < -10000 || c > 10000)
            return "range";
        QString unit = args.value(3, FWorking.value(key).value(3, "V")).toUpper();
        if (!QStringList{"V", "C", "U", "I"}.contains(unit))
            return "unit";
        FWorking[key] = {QString::number(a), QString::number(b), QString::number(c), unit};
        return {};
    }
    default:
        return "read only";
    }
}

TSimReply TSimModule::CurvePoint(const TSimEntry &entry, int index, const QStringList &args)
{
    if (index < -10 || index > 10)
        return Error("index");
    const QString key = TSimDescription::PointKey(entry.Name, index);
    if (args.isEmpty()) {
        if (!entry.Readable())
            return Error();
        return Values(QStringList{QString::number(index)} + FWorking.value(key));
    }
    if (!entry.Writable())
        return Error("read only");
    int x = 0, y = 0;
    if (args.size() != 2 || !ToInt(args[0], x) || !ToInt(args[1], y))
        return Error("value");
    if (entry.HasLimits() && (x < entry.Min || x > entry.Max || y < entry.Min || y > entry.Max))
        return Error("range");
    FWorking[key] = {QString::number(x), QString::number(y)};
    return Ok();
}

TSimReply TSimModule::ExecuteBlock(const QByteArray &block)
{
    int accepted = 0, rejected = 0;
    for (const QString &item : QString::fromLatin1(block).split(';', Qt::SkipEmptyParts)) {
        const QStringList tokens = item.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
        if (tokens.isEmpty())
            continue;
        const QByteArray answer = Execute(tokens.join(' ').toLatin1()).Text;
        const bool ok = tokens.size() > 1 && !answer.contains("command error");
        ok ? ++accepted : ++rejected;
    }
    return Lines({QString("%1 values, %2 errors, download completed!").arg(accepted).arg(rejected)});
}
