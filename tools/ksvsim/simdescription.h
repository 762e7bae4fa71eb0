#pragma once

#include "simentry.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Values of a module, keyed by the upper-case name; a curve point is keyed "NAME:i" and
// holds X and Y.
using TSimValueSet = QMap<QString, QStringList>;

// What a simulated module is: its identification text, its description lines and its
// factory values. Built by the demo or loaded from a readout file and a values file.
class TSimDescription {
public:
    QString IdText;
    QList<TSimEntry> Entries;
    TSimValueSet Factory;

    // Throws std::runtime_error when a file cannot be read.
    static TSimDescription FromFiles(const QString &rddFile, const QString &valuesFile,
                                     const QString &idText);

    const TSimEntry *Find(const QString &name) const;
    // Gives every entry without a factory value a plausible one.
    void FillDefaults();
    // Reads lines "NAME VALUE..." (value answers, optionally ending in a prompt).
    static TSimValueSet ParseValues(const QStringList &lines);

    static QString Key(const QString &name) { return name.toUpper(); }
    static QString PointKey(const QString &name, int index);
};
