#pragma once

#include "osxmlbasedom.h"

#include <QString>
#include <QStringList>

class TModCommandList;
class TModProcessData;
class TModStatusInfoData;
class TModRemoteCtrlCommandList;
class TModBaseCommand;
class TModCtrlCommand;

// The offline command-list file: the four lists of one or more modules, each module under its
// identification text. The lists are referenced, never owned; set the ones an operation needs.
class TosKSVCmdDOM : public TosXMLBaseDOM {
public:
    TosKSVCmdDOM();

    TModCommandList *CmdList = nullptr;
    TModRemoteCtrlCommandList *RemoteCtrlCmds = nullptr;
    TModProcessData *ProcessData = nullptr;
    TModStatusInfoData *StatusInfo = nullptr;

    // Refuses to write a document that is not a command list (such as one emptied by a
    // failed load).
    bool SaveToFile(const QString &path) override;
    // True only for a file that parses and whose root is a command list of version "1.0";
    // otherwise the document is left empty.
    bool LoadFromFile(const QString &path) override;

    // Appends the identifiers of the file's modules to ids; true when there was at least one.
    bool GetModuleIds(const QString &path, QStringList &ids);
    bool ModuleExists(const QString &path, const QString &id);
    // Replaces the four lists by module id. False when id is not found exactly once or a
    // section is missing (the sections present are read all the same).
    bool LoadModule(const QString &path, const QString &id);
    // Copies the values of module id into the commands of CmdList of the same name; names
    // that CmdList does not hold as settable commands go to notFound.
    bool LoadValues(const QString &path, const QString &id, QStringList *notFound);
    // Writes the four lists as module id, keeping the other modules of the file. A file that
    // exists but is not a command-list file is left untouched (false).
    bool SaveModule(const QString &path, const QString &id);

protected:
    QStringList AttributeOrder(const QDomElement &element) const override;

private:
    bool ListsSet() const;
    // The first "Modul" below the root with exactly this ID; matches counts all of them.
    QDomElement FindModule(const QString &id, int &matches) const;
    bool LoadCommands(const QDomElement &module);
    bool LoadProcessData(const QDomElement &module);
    bool LoadStatusInfo(const QDomElement &module);
    bool LoadRemoteCtrl(const QDomElement &module);
    void WriteModule(QDomElement &module);
};
