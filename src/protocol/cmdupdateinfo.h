#pragma once

#include <QString>
#include <QStringList>

// Scratch record: the answer of command CmdName carried these values.
struct TCmdUpdateInfo {
    QStringList Values;
    QString CmdName;
};
