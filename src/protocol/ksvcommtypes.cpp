#include "ksvcommtypes.h"

const std::array<QString, 5> ModBaudrateNames = {
    QStringLiteral("9.6 KBaud"),  QStringLiteral("19.2 KBaud"), QStringLiteral("38.4 KBaud"),
    QStringLiteral("57.6 KBaud"), QStringLiteral("115.2 KBaud"),
};

const std::array<QString, 2> TransferModeNames = {QStringLiteral("FDX"), QStringLiteral("HDX")};

bool FindModBaudrate(int rate, TModBaudrate &index)
{
    for (int i = 0; i < int(ModBaudrates.size()); ++i) {
        if (ModBaudrates[i] == rate) {
            index = TModBaudrate(i);
            return true;
        }
    }
    return false;
}

bool FindModBaudrateName(const QString &name, TModBaudrate &index)
{
    for (int i = 0; i < int(ModBaudrateNames.size()); ++i) {
        if (ModBaudrateNames[i] == name) {
            index = TModBaudrate(i);
            return true;
        }
    }
    return false;
}

QString AnswerBody(const QString &answer, int echoLength)
{
    QString body = answer.mid(echoLength);
    body.chop(1);
    if (body.endsWith(QLatin1String("CMD")))
        body.chop(3);
    return body;
}
