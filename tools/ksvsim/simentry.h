#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// One line of a module's self-description, as the simulated module keeps it: the fields of
// a readout line plus, for the demo, the application it belongs to.
struct TSimEntry {
    enum TType { etProcess = 0, etText = 1, etNumeric = 2, etNoValue = 5, etCurve = 6,
                 etAnalogIn = 7, etStatus = 10, etRemote = 11 };

    int AType = 2;
    int Type = etNumeric;
    QString Name;
    QString Field3;          // value list ("a|b|c"), or the unit of a process value
    QString Help;
    int VType = 1;
    int Min = 0;             // status bits: the bit index
    int Max = 0;             // process values: CompFactor; status bits: the flags
    int GCode = 0xFFBC;
    QString App;             // demo only: shown only while APP has this value; empty = always

    bool Readable() const { return AType == 2 || AType == 3; }
    bool Writable() const { return AType == 1 || AType == 3; }
    bool HasLimits() const { return Min != 0 || Max != 0; }
    QStringList ValueList() const;

    QString ReadoutLine() const;
    // Backslash-separated fields; fewer than six fields or a non-numeric type give none.
    static std::optional<TSimEntry> FromReadoutLine(const QString &line);
};
