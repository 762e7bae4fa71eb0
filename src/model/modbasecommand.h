#pragma once

#include "object.h"

#include <QString>
#include <cstdint>
#include <memory>

// One command of a module as the module describes it on READOUT.
class TModBaseCommand : public TObject {
public:
    TModBaseCommand(const TModBaseCommand &) = delete;
    TModBaseCommand &operator=(const TModBaseCommand &) = delete;

    QString Help;
    uint8_t AType = 2;   // 1 writable, 2 readable, 3 both
    uint8_t VType = 1;   // 21 and 22: numeric value held in hundredths
    QString Name;        // as the module knows it, e.g. "RC:6"; the list key
    uint16_t GCode = 0;  // bit n set: member of group n

    uint8_t CmdType() const { return FCmdType; }

    // The value as the parameter grid shows it.
    virtual QString ValueText() const = 0;
    // Copies description and value into dest when dest has the same CmdType; otherwise nothing.
    virtual void AssignTo(TModBaseCommand *dest) const;

    // A new object of the same class with this command's data; none for codes 3, 10, 11 and
    // unknown codes.
    std::unique_ptr<TModBaseCommand> Clone() const;
    // Names of all groups in GCode, in bit order, joined by ", ".
    QString GroupNames() const;

protected:
    explicit TModBaseCommand(uint8_t cmdType) : FCmdType(cmdType) {}

private:
    const uint8_t FCmdType;
};
