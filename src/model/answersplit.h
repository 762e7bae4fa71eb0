#pragma once

#include <QString>
#include <QStringList>

class TModBaseCommand;

// Splits one module answer (or one .par line) into the command name and its value items.
// An empty name is filled from the first item, which is then removed; a given name is cut out
// of the first item, which stays even when that leaves it empty. False, with no items, for an
// empty answer, an answer containing "command error", or an answer without items.
bool SplitAnswer(const QString &answer, QString &name, QStringList &items);

// Stores value items in a control command according to its class. False only for no command;
// items of the wrong number or form leave the command unchanged.
bool ApplyValues(TModBaseCommand *cmd, const QStringList &items);
