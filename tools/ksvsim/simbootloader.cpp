#include "simbootloader.h"

#include "simlog.h"
#include "simpty.h"

#include <cctype>

TSimBootloader::TSimBootloader(TSimPty &pty, TSimLog &log, const TSimOptions &options,
                               TSleep sleep)
    : FPty(pty), FLog(log), FOptions(options), FSleep(std::move(sleep))
{
}

void TSimBootloader::Send(const QByteArray &text)
{
    FPty.Send(text);
}

void TSimBootloader::Enter()
{
    FState = bsMenu;
    FPty.SetRate(BootRate());
    FLog.Event("BL", "enter");
    FLog.Event("RATE", QString::number(BootRate()));
    // In full duplex the boot loader waits for a CR at its own rate before it shows itself.
    if (FOptions.HalfDuplex)
        SendMenu();
}

void TSimBootloader::SendMenu()
{
    Send("\r\nZ.O.LT. boot loader V2.1\r\n"
         "1 = FLASH erase command\r\n"
         "2 = Program FLASH\r\n"
         "G = Go, start the application\r\n>");
}

bool TSimBootloader::TakeApplicationStart()
{
    const bool started = FApplicationStarted;
    FApplicationStarted = false;
    return started;
}

void TSimBootloader::Receive(char c)
{
    switch (FState) {
    case bsMenu:
        MenuKey(c);
        break;
    case bsReceive:
        RecordByte(c);
        break;
    case bsQuestion:
        if (c == 'y' || c == 'Y') {
            Send(QByteArray(1, c) + "\r\napplication started\r\n" + FOptions.Prompt.toLatin1());
            FState = bsOff;
            FApplicationStarted = true;
            FLog.Event("BL", "start application");
        } else {
            FPty.SetRate(BootRate());
            FState = bsMenu;
            SendMenu();
        }
        break;
    case bsOff:
        break;
    }
}

void TSimBootloader::MenuKey(char c)
{
    if (c == '\r') {
        SendMenu();
        return;
    }
    if (c == '\n')
        return;
    Send(QByteArray(1, c));
    switch (c) {
    case '1':
        FLog.Event("BL", "erase");
        Send("\r\nErasing FLASH ...");
        FSleep(FOptions.EraseMs);
        FApplicationValid = false;
        Send(" done\r\n>");
        break;
    case '2':
        FLog.Event("BL", "program");
        FRecord.clear();
        FRecords = FDataBytes = 0;
        FEndRecord = false;
        FFirstError.clear();
        FState = bsReceive;
        FLastByte = std::chrono::steady_clock::now();
        Send("\r\nSend file to Program");
        break;
    case 'G':
    case 'g':
        if (!FApplicationValid) {
            FLog.Event("BL", "go refused");
            Send("\r\nno valid application!\r\n>");
            break;
        }
        FLog.Event("BL", "go");
        FPty.SetRate(ApplicationRate());
        FLog.Event("RATE", QString::number(ApplicationRate()));
        FSleep(FOptions.StartDelayMs);
        FState = bsQuestion;
        Send("\r\nStart application (y/n)?\r\n");
        break;
    default:
        Send("\r\n>");
        break;
    }
}

void TSimBootloader::RecordByte(char c)
{
    FLastByte = std::chrono::steady_clock::now();
    if (c == '\r' || c == '\n') {
        EndRecord();
        return;
    }
    if (FRecord.isEmpty() && c != 'S' && c != 's')
        return;   // noise between records
    FRecord += c;
}

void TSimBootloader::EndRecord()
{
    if (FRecord.isEmpty())
        return;
    int type = 0, bytes = 0;
    const QString problem = CheckRecord(FRecord, &type, &bytes);
    ++FRecords;
    if (!problem.isEmpty()) {
        FLog.Event("BL", QString("record %1 bad: %2").arg(FRecords).arg(problem));
        if (FFirstError.isEmpty())
            FFirstError = QString("%1 in record %2").arg(problem).arg(FRecords);
    } else {
        FDataBytes += bytes;
        if (type >= 7)
            FEndRecord = true;
    }
    FRecord.clear();
}

void TSimBootloader::Idle()
{
    if (FState != bsReceive || (FRecords == 0 && FRecord.isEmpty()))
        return;
    if (std::chrono::steady_clock::now() - FLastByte < std::chrono::milliseconds(FOptions.ReportDelayMs))
        return;
    EndRecord();
    Report();
}

void TSimBootloader::Report()
{
    if (FFirstError.isEmpty() && !FEndRecord)
        FFirstError = "end record missing";
    FApplicationValid = FFirstError.isEmpty();
    FState = bsMenu;
    const QString text = FApplicationValid
        ? QString("Programming done: %1 records, %2 data bytes").arg(FRecords).arg(FDataBytes)
        : "Programming failed: " + FFirstError;
    FLog.Event("BL", text);
    Send("\r\n" + text.toLatin1() + "\r\n>");
}

QString TSimBootloader::CheckRecord(const QByteArray &record, int *type, int *dataBytes)
{
    static const int addressBytes[10] = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
    if (record.size() < 4 || (record[0] != 'S' && record[0] != 's'))
        return "format error";
    const int kind = record[1] - '0';
    if (kind < 0 || kind > 9 || kind == 4)
        return "record type error";
    const QByteArray hex = record.mid(2);
    if (hex.size() % 2 != 0)
        return "format error";
    const QByteArray bytes = QByteArray::fromHex(hex);
    for (char c : hex)
        if (!std::isxdigit(uchar(c)))
            return "format error";
    const int count = uchar(bytes[0]);
    if (count != bytes.size() - 1 || count < addressBytes[kind] + 1)
        return "length error";
    unsigned sum = 0;
    for (char b : bytes)
        sum += uchar(b);
    if ((sum & 0xFF) != 0xFF)
        return "checksum error";
    if (type)
        *type = kind;
    if (dataBytes)
        *dataBytes = (kind >= 1 && kind <= 3) ? count - addressBytes[kind] - 1 : 0;
    return {};
}
