#include "ctloptions.h"

#include <QMap>

namespace {

struct TCommandShape {
    int MinArgs;
    int MaxArgs;          // -1: any number
    QStringList Options;  // command options allowed besides the link options
};

const QMap<QString, TCommandShape> &Commands()
{
    static const QMap<QString, TCommandShape> commands{
        {"identify", {0, 0, {}}},
        {"list", {0, 0, {}}},
        {"get", {1, 1, {}}},
        {"set", {1, -1, {}}},
        {"save", {0, 0, {}}},
        {"loadback", {0, 0, {}}},
        {"default", {0, 0, {}}},
        {"backup", {1, 1, {"--force"}}},
        {"restore", {1, 1, {"--ignore-id", "--module"}}},
        {"offline", {1, 1, {"--module"}}},
        {"password", {1, -1, {}}},
        {"monitor", {0, 0, {"--passes", "--interval"}}},
        {"remote", {1, 3, {}}},
        {"firmware", {1, 1, {}}},
    };
    return commands;
}

bool ParseRate(const QString &text, TModBaudrate &rate)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && FindModBaudrate(value, rate);
}

bool TakeValue(const QStringList &arguments, int &i, QString &value, QString &error)
{
    if (i + 1 >= arguments.size()) {
        error = arguments[i] + " needs a value";
        return false;
    }
    value = arguments[++i];
    return true;
}

bool TakeCount(const QStringList &arguments, int &i, int minimum, int &count, QString &error)
{
    const QString option = arguments[i];
    QString value;
    if (!TakeValue(arguments, i, value, error))
        return false;
    bool ok = false;
    count = value.toInt(&ok);
    if (!ok || count < minimum) {
        error = QStringLiteral("%1 takes a whole number from %2, not %3").arg(option).arg(minimum).arg(value);
        return false;
    }
    return true;
}

bool ParseOption(const QStringList &arguments, int &i, TCtlOptions &o, QStringList &seen,
                 QString &error)
{
    const QString option = arguments[i];
    seen << option;
    QString value;
    if (option == "--help" || option == "-h") {
        o.Help = true;
    } else if (option == "--hdx") {
        o.HalfDuplex = true;
    } else if (option == "--force") {
        o.Force = true;
    } else if (option == "--ignore-id") {
        o.IgnoreId = true;
    } else if (option == "--port") {
        if (!TakeValue(arguments, i, o.Port, error))
            return false;
    } else if (option == "--rate") {
        if (!TakeValue(arguments, i, value, error))
            return false;
        o.AutoRate = value == "auto";
        if (!o.AutoRate && !ParseRate(value, o.Rate)) {
            error = "--rate takes auto, 9600, 19200, 38400, 57600 or 115200, not " + value;
            return false;
        }
    } else if (option == "--fast") {
        if (!TakeValue(arguments, i, value, error))
            return false;
        o.Fast = true;
        if (!ParseRate(value, o.FastRate)) {
            error = "--fast takes 9600, 19200, 38400, 57600 or 115200, not " + value;
            return false;
        }
    } else if (option == "--module") {
        if (!TakeValue(arguments, i, value, error))
            return false;
        bool ok = false;
        o.Module = value.toInt(&ok);
        if (!ok || o.Module < 1) {
            error = "--module takes a module number from 1, not " + value;
            return false;
        }
    } else if (option == "--passes") {
        if (!TakeCount(arguments, i, 1, o.Passes, error))
            return false;
    } else if (option == "--interval") {
        if (!TakeCount(arguments, i, 1, o.IntervalMs, error))
            return false;
    } else {
        error = "unknown option " + option;
        return false;
    }
    return true;
}

bool CheckCombination(const TCtlOptions &o, const QStringList &seen, QString &error)
{
    const TCommandShape shape = Commands().value(o.Command);
    static const QStringList commandOptions{"--force", "--ignore-id", "--module", "--passes", "--interval"};
    for (const QString &option : seen)
        if (commandOptions.contains(option) && !shape.Options.contains(option)) {
            error = option + " does not apply to " + o.Command;
            return false;
        }
    if (o.Args.size() < shape.MinArgs || (shape.MaxArgs >= 0 && o.Args.size() > shape.MaxArgs)) {
        error = "wrong number of arguments for " + o.Command;
        return false;
    }
    if (o.NeedsPort() && o.Port.isEmpty()) {
        error = o.Command + " needs --port PATH";
        return false;
    }
    // Half duplex always runs at 19200 bit/s and never detects or switches the rate.
    if (o.HalfDuplex && (o.Fast || (!o.AutoRate && o.Rate != mb19200))) {
        error = "--hdx runs at 19200 bit/s; it does not go with --fast or another --rate";
        return false;
    }
    if (o.Fast && !o.AutoRate) {
        error = "--fast needs --rate auto (the rate switch follows the detection)";
        return false;
    }
    return true;
}

} // namespace

bool TCtlOptions::Parse(const QStringList &arguments, TCtlOptions &options, QString &error)
{
    options = TCtlOptions();
    QStringList seen;
    bool optionsEnd = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        // Values may be negative numbers ("set CC -3 500 -200"): only "--" starts an option.
        if (!optionsEnd && argument == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (argument.startsWith("--") || argument == "-h")) {
            if (!ParseOption(arguments, i, options, seen, error))
                return false;
        } else if (options.Command.isEmpty()) {
            options.Command = argument;
        } else {
            options.Args << argument;
        }
    }
    if (options.Help)
        return true;
    if (options.Command.isEmpty()) {
        error = "no command given";
        return false;
    }
    if (!Commands().contains(options.Command)) {
        error = "unknown command " + options.Command;
        return false;
    }
    return CheckCombination(options, seen, error);
}

QString TCtlOptions::Usage()
{
    return QStringLiteral(
        "usage: ksvctl [--port PATH] [--rate auto|9600|19200|38400|57600|115200] [--fast RATE] [--hdx]\n"
        "              COMMAND [ARGS]\n"
        "commands:\n"
        "  identify                      identify the module and print a summary\n"
        "  list                          the parameters the parameter table shows: name, value, help\n"
        "  get NAME                      print one value (a curve as 21 lines NAME:i X Y)\n"
        "  set NAME VALUE...             write one value and print what the module holds\n"
        "  save | loadback | default     store, reload or reset the module's parameter set\n"
        "  backup FILE [--force]         save the parameters to FILE.ksv or FILE.par\n"
        "  restore FILE [--ignore-id] [--module N]\n"
        "                                write the parameters of FILE.ksv or FILE.par into the module\n"
        "  offline FILE.ksv [--module N] show a module stored in a file, without a port\n"
        "  password TEXT                 log in with the module's password\n"
        "  monitor [--passes N] [--interval MS]\n"
        "                                poll the process values, the status and the inputs N times\n"
        "                                (default 10) and print one line per pass\n"
        "  remote on|off                 switch the module's remote control\n"
        "  remote set PIN VALUE          drive remote analogue input PIN (1-5)\n"
        "  remote inputs BYTE            drive the remote digital inputs (bit i = input i)\n"
        "  firmware FILE.s19             replace the module's firmware through its boot loader\n"
        "exit status: 0 done, 1 module operation failed, 2 usage error, 3 file or compatibility problem\n");
}
