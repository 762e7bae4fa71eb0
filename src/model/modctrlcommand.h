#pragma once

#include "modbasecommand.h"

#include <QStringList>
#include <functional>

class TModCtrlCommand;

// Raised with the command whose value changed.
using TCmdChangeEvent = std::function<void(TModCtrlCommand *sender)>;

// A command that the user can set; used directly for the codes 4, 5, 8 and 9.
class TModCtrlCommand : public TModBaseCommand {
public:
    explicit TModCtrlCommand(uint8_t cmdType) : TModBaseCommand(cmdType) {}

    QStringList VList;  // allowed values of a text parameter
    int32_t Max = 0;
    int32_t Min = 0;
    TCmdChangeEvent OnChange;

    QString ValueText() const override;
    void AssignTo(TModBaseCommand *dest) const override;

    void Changed();
};
