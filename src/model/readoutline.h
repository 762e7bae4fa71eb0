#pragma once

#include "modbasecommand.h"

#include <QString>
#include <memory>

// Turns one line of the module's READOUT answer (or of an .rdd file) into a command object:
//   AType \ type code \ Name \ value list or unit \ Help \ VType \ Min or bit \ Max, factor
//   or flags \ groups
// None for an empty line, fewer than six fields, a type code that is not an integer, and the
// codes 3 and 12-255. Fields that are not integers keep the constructed values.
std::unique_ptr<TModBaseCommand> ParseReadoutLine(const QString &line);
