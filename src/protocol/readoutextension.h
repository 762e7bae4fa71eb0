#pragma once

#include <QString>
#include <QStringList>

// The description of a module that cannot describe itself: the file module type + ".rdd",
// looked up in the program's directory first, then in the installed data folder.
struct TReadoutExtension {
    QString FileName;   // module type + ".rdd"; empty when the identification text has no type
    QString Dir;        // the program's directory with a trailing separator (named in messages)
    QStringList Lines;  // the file's lines; empty when it was not found
    bool Found = false;
};

TReadoutExtension LoadReadoutExtension(const QString &ModId);

// Folders searched, in order; tests and the simulator may add their own in front.
QStringList ReadoutExtensionDirs();
void SetReadoutExtensionDirs(const QStringList &dirs);
