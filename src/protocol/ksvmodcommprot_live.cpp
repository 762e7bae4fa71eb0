// Live data polling and remote control of TKSVModCommProt.
#include "ksvmodcommprot.h"

#include "answersplit.h"

namespace {

// "0"/"1" or "False"/"True", as the module reports a switch.
bool ReadBoolean(const QString &text, bool &value)
{
    if (text == QLatin1String("0") || text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        value = false;
        return true;
    }
    if (text == QLatin1String("1") || text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        value = true;
        return true;
    }
    return false;
}

} // namespace

bool TKSVModCommProt::QueryRemoteCtrlSupport(bool &Active)
{
    Active = false;
    QString answer;
    QString name;
    QStringList values;
    // A module that accepts "REMOTE" has its own remote control, not the "RC:" commands.
    if (SendCmd(QStringLiteral("REMOTE\r"), QStringLiteral("REMOTE"), 200, answer) &&
        SplitAnswer(answer, name, values))
        return false;
    if (!SendCmd(QStringLiteral("RC:M\r"), QStringLiteral("RC:M"), 200, answer))
        return false;
    bool result = false;
    name.clear();
    if (SplitAnswer(answer, name, values) && values.size() == 1 && ReadBoolean(values.first(), Active))
        result = true;
    auto infoText = [this](const QString &query) {
        QString text;
        SendCmd(query + QLatin1Char('\r'), query, 200, text);
        return text.size() > 11 ? text.mid(8, text.size() - 11) : QString();
    };
    FRcmInfoText = infoText(QStringLiteral("RC:M ?"));
    FRcsInfoText = infoText(QStringLiteral("RC:S ?"));
    FModeInfoText = infoText(QStringLiteral("MODE ?"));
    return result;
}
