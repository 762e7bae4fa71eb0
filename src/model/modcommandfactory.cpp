#include "modcommandfactory.h"

#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modctrlcommand.h"
#include "modnumparacmd.h"
#include "modproccommand.h"
#include "modremotectrlcmd.h"
#include "modstatusbitcommand.h"
#include "modtextparacmd.h"

std::unique_ptr<TModBaseCommand> NewModCommand(uint8_t cmdType)
{
    switch (cmdType) {
    case 0: return std::make_unique<TModProcCommand>();
    case 1: return std::make_unique<TModTextParaCmd>();
    case 2: return std::make_unique<TModNumParaCmd>();
    case 4:
    case 5:
    case 8:
    case 9: return std::make_unique<TModCtrlCommand>(cmdType);
    case 6: return std::make_unique<TModCCParaCmd>();
    case 7: return std::make_unique<TModAinParaCmd>();
    case 10: return std::make_unique<TModStatusBitCommand>();
    case 11: return std::make_unique<TModRemoteCtrlCmd>();
    default: return nullptr;
    }
}
