#pragma once

#include <QString>
#include <array>

// Line rates of a module; "BR" carries the rate divided by 9600.
enum TModBaudrate : int { mb9600, mb19200, mb38400, mb57600, mb115200 };
constexpr std::array<int, 5> ModBaudrates = {9600, 19200, 38400, 57600, 115200};
extern const std::array<QString, 5> ModBaudrateNames;

enum TTransferMode : int { tmFullDuplex, tmHalfDuplex };
extern const std::array<QString, 2> TransferModeNames;

enum TModCommMode : int { cmIdle = 0, cmTerminal = 1, cmMonitor = 2, cmScope = 3 };

enum TKSVCommProtMsgKind : int { cpmkImpFktNoValidModulId, cpmkImpFktOverWriteQuestion };

bool FindModBaudrate(int rate, TModBaudrate &index);
bool FindModBaudrateName(const QString &name, TModBaudrate &index);

// Cuts the payload out of a successful answer: the echo (echoLength characters), the last
// character (the prompt's ">") and a trailing "CMD".
QString AnswerBody(const QString &answer, int echoLength);
