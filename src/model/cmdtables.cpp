#include "cmdtables.h"

const std::array<QString, 12> CmdTypeNames = {
    QStringLiteral("ProzessPara"), QStringLiteral("TextPara"),  QStringLiteral("NumPara"),
    QStringLiteral("Dummy1"),      QStringLiteral("InPara"),    QStringLiteral("NoPara"),
    QStringLiteral("CCPara"),      QStringLiteral("AinPara"),   QStringLiteral("AinSPara"),
    QStringLiteral("LPara"),       QStringLiteral("InfoPara"),  QStringLiteral("RemoteCtrlPara"),
};

const std::array<QString, 16> CmdGroupNames = {
    QStringLiteral("NewTab"),     QStringLiteral("NewData"),    QStringLiteral("All"),
    QStringLiteral("Appli"),      QStringLiteral("PAM"),        QStringLiteral("Basic"),
    QStringLiteral("Z.O.LT."),    QStringLiteral("Password"),   QStringLiteral("Pressure"),
    QStringLiteral("Special"),    QStringLiteral("FreeBit10"),  QStringLiteral("FreeBit11"),
    QStringLiteral("FreeBit12"),  QStringLiteral("FreeBit13"),  QStringLiteral("FreeBit14"),
    QStringLiteral("FreeBit15"),
};

std::array<QString, 2> AinUnitNames = {QStringLiteral("V"), QStringLiteral("C")};

std::array<QString, 6> RemotePinNames = {
    QString(),           QStringLiteral("PIN 9/10"), QStringLiteral("Pin 6"),
    QStringLiteral("PIN 13"), QStringLiteral("Pin 14"), QStringLiteral("PIN 29"),
};
