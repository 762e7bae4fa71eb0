#pragma once

#include "modbasecommand.h"

#include <memory>

// The command class that a readout line of type code `cmdType` produces: none for code 3
// and for codes above 11.
std::unique_ptr<TModBaseCommand> NewModCommand(uint8_t cmdType);
