#include "osksvcmddom.h"

#include "cmdtables.h"
#include "modainparacmd.h"
#include "modccparacmd.h"
#include "modcommandlist.h"
#include "modnumparacmd.h"
#include "modprocessdata.h"
#include "modremotectrlcommandlist.h"
#include "modstatusinfodata.h"
#include "modtext.h"
#include "modtextparacmd.h"

#include <QFileInfo>
#include <QHash>

namespace {

const QString RootElementName = QStringLiteral("ZOLT-ModulCmdList");
const QString FileVersion = QStringLiteral("1.0");

// Attribute readers: a missing attribute, or one that is no integer, leaves the field alone.
bool ReadInt(const QDomElement &e, const QString &name, int32_t &value)
{
    return e.hasAttribute(name) && TryStrToInt32(e.attribute(name), value);
}

template <typename T>
void ReadLow(const QDomElement &e, const QString &name, T &field)
{
    int32_t value = 0;
    if (ReadInt(e, name, value))
        field = T(value); // the low byte or word, as the module's own fields
}

void ReadBool(const QDomElement &e, const QString &name, bool &field)
{
    if (!e.hasAttribute(name))
        return;
    const QString text = e.attribute(name);
    int32_t value = 0;
    if (text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        field = true;
    else if (text.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        field = false;
    else if (TryStrToInt32(text, value))
        field = value != 0;
}

void ReadText(const QDomElement &e, const QString &name, QString &field)
{
    if (e.hasAttribute(name))
        field = e.attribute(name);
}

bool ReadType(const QDomElement &e, uint8_t &type)
{
    int32_t value = 0;
    if (!ReadInt(e, QStringLiteral("Type"), value))
        return false;
    type = uint8_t(value);
    return true;
}

void ReadCommon(const QDomElement &e, TModBaseCommand &cmd)
{
    ReadText(e, QStringLiteral("Name"), cmd.Name);
    ReadLow(e, QStringLiteral("AType"), cmd.AType);
    ReadLow(e, QStringLiteral("VType"), cmd.VType);
    ReadLow(e, QStringLiteral("GCode"), cmd.GCode);
    ReadText(e, QStringLiteral("Help"), cmd.Help);
}

QString PointAttribute(QChar axis, int i)
{
    return axis + QString::number(i - TModCCParaCmd::MinPoint);
}

// A coordinate missing from the file repeats the one of the point before (0 for the first).
void ReadCurve(const QDomElement &para, TModCCParaCmd &curve)
{
    TCCPoint previous;
    for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i) {
        TCCPoint point = previous;
        ReadInt(para, PointAttribute(u'X', i), point.X);
        ReadInt(para, PointAttribute(u'Y', i), point.Y);
        curve.SetPoint(i, point);
        previous = point;
    }
}

// Stores the value attributes of a "Para" element by the class of cmd.
void ReadValue(const QDomElement &para, TModCtrlCommand &cmd)
{
    if (auto *text = dynamic_cast<TModTextParaCmd *>(&cmd)) {
        if (para.hasAttribute(QStringLiteral("Txt")))
            text->SetTxt(para.attribute(QStringLiteral("Txt")));
    } else if (auto *num = dynamic_cast<TModNumParaCmd *>(&cmd)) {
        ReadInt(para, QStringLiteral("Val"), num->Val);
    } else if (auto *curve = dynamic_cast<TModCCParaCmd *>(&cmd)) {
        ReadCurve(para, *curve);
    } else if (auto *ain = dynamic_cast<TModAinParaCmd *>(&cmd)) {
        ReadInt(para, QStringLiteral("A"), ain->A);
        ReadInt(para, QStringLiteral("B"), ain->B);
        ReadInt(para, QStringLiteral("C"), ain->C);
        ReadLow(para, QStringLiteral("X"), ain->X);
    }
}

std::unique_ptr<TModCtrlCommand> NewFileCommand(uint8_t type)
{
    switch (type) {
    case 1: return std::make_unique<TModTextParaCmd>();
    case 2: return std::make_unique<TModNumParaCmd>();
    case 6: return std::make_unique<TModCCParaCmd>();
    case 7: return std::make_unique<TModAinParaCmd>();
    default: return nullptr;
    }
}

bool IsMakerInternal(const TModBaseCommand &cmd)
{
    return cmd.GCode & (1u << cgMaker);
}

void SetInt(QDomElement &e, const QString &name, qint64 value)
{
    e.setAttribute(name, QString::number(value));
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// Joins value-list items with "|". Items that the split would not give back unchanged (holding
// "|" or a quote, or blanks at the ends of the text) are quoted; plain items are written as
// they are.
QString JoinValueList(const QStringList &items)
{
    QStringList parts;
    for (int i = 0; i < items.size(); ++i) {
        const QString &item = items[i];
        const bool edgeBlank = (i == 0 && !item.isEmpty() && item.front().unicode() <= 32)
            || (i == items.size() - 1 && !item.isEmpty() && item.back().unicode() <= 32);
        if (item.contains(u'|') || item.contains(u'"') || edgeBlank)
            parts << u'"' + QString(item).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
        else
            parts << item;
    }
    return parts.join(u'|');
}

void WriteCommon(QDomElement &e, const TModBaseCommand &cmd)
{
    e.setAttribute(QStringLiteral("Name"), cmd.Name);
    SetInt(e, QStringLiteral("Type"), cmd.CmdType());
    SetInt(e, QStringLiteral("AType"), cmd.AType);
}

void WriteValue(QDomElement para, const TModCtrlCommand &cmd)
{
    if (auto *text = dynamic_cast<const TModTextParaCmd *>(&cmd)) {
        para.setAttribute(QStringLiteral("Txt"), text->ValueText());
    } else if (auto *num = dynamic_cast<const TModNumParaCmd *>(&cmd)) {
        para.setAttribute(QStringLiteral("Val"), num->ValueText());
    } else if (auto *curve = dynamic_cast<const TModCCParaCmd *>(&cmd)) {
        for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i) {
            SetInt(para, PointAttribute(u'X', i), curve->GetPoint(i).X);
            SetInt(para, PointAttribute(u'Y', i), curve->GetPoint(i).Y);
        }
    } else if (auto *ain = dynamic_cast<const TModAinParaCmd *>(&cmd)) {
        SetInt(para, QStringLiteral("A"), ain->A);
        SetInt(para, QStringLiteral("B"), ain->B);
        SetInt(para, QStringLiteral("C"), ain->C);
        SetInt(para, QStringLiteral("X"), ain->X);
    }
}

QDomElement AppendElement(QDomElement parent, const QString &name)
{
    return parent.appendChild(parent.ownerDocument().createElement(name)).toElement();
}

// Entries that are no settable command, and "NoPara" commands, give an empty element.
void WriteCommands(QDomElement section, const TModCommandList &list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TModBaseCommand *cmd = list.Command(i);
        if (cmd && IsMakerInternal(*cmd))
            continue;
        QDomElement e = AppendElement(section, QStringLiteral("CCmd"));
        auto *ctrl = dynamic_cast<const TModCtrlCommand *>(cmd);
        if (!ctrl || ctrl->CmdType() == 5)
            continue;
        WriteCommon(e, *ctrl);
        e.setAttribute(QStringLiteral("VList"), JoinValueList(ctrl->VList));
        SetInt(e, QStringLiteral("VType"), ctrl->VType);
        SetInt(e, QStringLiteral("GCode"), ctrl->GCode);
        SetInt(e, QStringLiteral("Min"), ctrl->Min);
        SetInt(e, QStringLiteral("Max"), ctrl->Max);
        e.setAttribute(QStringLiteral("Help"), ctrl->Help);
        WriteValue(AppendElement(e, QStringLiteral("Para")), *ctrl);
    }
}

void WriteProcessData(QDomElement section, const TModProcessData &list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TModProcCommand *cmd = list.ProcCommand(i);
        if (!cmd || IsMakerInternal(*cmd))
            continue;
        QDomElement e = AppendElement(section, QStringLiteral("PCmd"));
        WriteCommon(e, *cmd);
        e.setAttribute(QStringLiteral("PhysUnit"), cmd->PhysUnit);
        SetInt(e, QStringLiteral("VType"), cmd->VType);
        SetInt(e, QStringLiteral("GCode"), cmd->GCode);
        SetInt(e, QStringLiteral("CompFactor"), cmd->CompFactor);
        e.setAttribute(QStringLiteral("Help"), cmd->Help);
    }
}

void WriteStatusInfo(QDomElement section, const TModStatusInfoData &list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TModStatusBitCommand *cmd = list.StatusBit(i);
        if (!cmd || IsMakerInternal(*cmd))
            continue;
        QDomElement e = AppendElement(section, QStringLiteral("SCmd"));
        WriteCommon(e, *cmd);
        SetInt(e, QStringLiteral("GCode"), cmd->GCode);
        SetInt(e, QStringLiteral("BIndex"), cmd->BIndex);
        e.setAttribute(QStringLiteral("BActive"), BoolText(cmd->BActive));
        e.setAttribute(QStringLiteral("BInvers"), BoolText(cmd->BInvers));
        SetInt(e, QStringLiteral("BColor"), cmd->BColor);
        e.setAttribute(QStringLiteral("Help"), cmd->HintText);
    }
}

void WriteRemoteCtrl(QDomElement section, const TModRemoteCtrlCommandList &list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TModRemoteCtrlCmd *cmd = list.RemoteCmd(i);
        if (!cmd || IsMakerInternal(*cmd))
            continue;
        QDomElement e = AppendElement(section, QStringLiteral("RCmd"));
        WriteCommon(e, *cmd);
        SetInt(e, QStringLiteral("VType"), cmd->VType);
        SetInt(e, QStringLiteral("GCode"), cmd->GCode);
        e.setAttribute(QStringLiteral("Help"), cmd->Help);
    }
}

QStringList ParaAttributeOrder()
{
    QStringList order{QStringLiteral("Txt"), QStringLiteral("Val"), QStringLiteral("A"), QStringLiteral("B"),
                      QStringLiteral("C"), QStringLiteral("X")};
    for (int i = TModCCParaCmd::MinPoint; i <= TModCCParaCmd::MaxPoint; ++i)
        order << PointAttribute(u'X', i) << PointAttribute(u'Y', i);
    return order;
}

} // namespace

TosKSVCmdDOM::TosKSVCmdDOM()
{
    SetRootName(RootElementName);
}

QStringList TosKSVCmdDOM::AttributeOrder(const QDomElement &element) const
{
    static const QHash<QString, QStringList> orders{
        {RootElementName, {QStringLiteral("version")}},
        {QStringLiteral("Modul"), {QStringLiteral("ID")}},
        {QStringLiteral("CCmd"), QStringLiteral("Name Type AType VList VType GCode Min Max Help").split(u' ')},
        {QStringLiteral("Para"), ParaAttributeOrder()},
        {QStringLiteral("PCmd"), QStringLiteral("Name Type AType PhysUnit VType GCode CompFactor Help").split(u' ')},
        {QStringLiteral("SCmd"), QStringLiteral("Name Type AType GCode BIndex BActive BInvers BColor Help").split(u' ')},
        {QStringLiteral("RCmd"), QStringLiteral("Name Type AType VType GCode Help").split(u' ')},
    };
    return orders.value(element.tagName());
}

bool TosKSVCmdDOM::SaveToFile(const QString &path)
{
    if (Model().documentElement().tagName() != RootName()) {
        SetLastError(QStringLiteral("The document is no command list"));
        return false;
    }
    return TosXMLBaseDOM::SaveToFile(path);
}

bool TosKSVCmdDOM::LoadFromFile(const QString &path)
{
    if (!TosXMLBaseDOM::LoadFromFile(path))
        return false;
    const QDomElement root = Model().documentElement();
    if (root.tagName() == RootName() && root.hasAttribute(QStringLiteral("version"))
        && root.attribute(QStringLiteral("version")) == FileVersion)
        return true;
    RemoveAllNodes();
    SetLastError(QStringLiteral("No command list file"));
    return false;
}

bool TosKSVCmdDOM::GetModuleIds(const QString &path, QStringList &ids)
{
    if (!LoadFromFile(path))
        return false;
    bool found = false;
    const QDomElement root = Model().documentElement();
    for (QDomElement e = root.firstChildElement(QStringLiteral("Modul")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("Modul"))) {
        if (e.hasAttribute(QStringLiteral("ID"))) {
            ids << e.attribute(QStringLiteral("ID"));
            found = true;
        }
    }
    return found;
}

bool TosKSVCmdDOM::ModuleExists(const QString &path, const QString &id)
{
    QStringList ids;
    return GetModuleIds(path, ids) && ids.contains(id, Qt::CaseInsensitive);
}

bool TosKSVCmdDOM::ListsSet() const
{
    return CmdList && RemoteCtrlCmds && ProcessData && StatusInfo;
}

QDomElement TosKSVCmdDOM::FindModule(const QString &id, int &matches) const
{
    matches = 0;
    QDomElement first;
    const QDomNodeList modules = Model().documentElement().elementsByTagName(QStringLiteral("Modul"));
    for (int i = 0; i < modules.count(); ++i) {
        const QDomElement e = modules.item(i).toElement();
        if (e.hasAttribute(QStringLiteral("ID")) && e.attribute(QStringLiteral("ID")) == id) {
            if (matches++ == 0)
                first = e;
        }
    }
    return first;
}

bool TosKSVCmdDOM::LoadModule(const QString &path, const QString &id)
{
    if (!ListsSet() || !LoadFromFile(path))
        return false;
    RemoteCtrlCmds->Clear();
    CmdList->Clear();
    ProcessData->Clear();
    StatusInfo->Clear();
    int matches = 0;
    const QDomElement module = FindModule(id, matches);
    if (matches != 1)
        return false;
    // Every section is read even when one is missing; the module is complete only with all four.
    const bool commands = LoadCommands(module);
    const bool processData = LoadProcessData(module);
    const bool statusInfo = LoadStatusInfo(module);
    const bool remoteCtrl = LoadRemoteCtrl(module);
    return commands && processData && statusInfo && remoteCtrl;
}

bool TosKSVCmdDOM::LoadCommands(const QDomElement &module)
{
    const QDomElement section = module.firstChildElement(QStringLiteral("Commands"));
    if (section.isNull())
        return false;
    for (QDomElement e = section.firstChildElement(QStringLiteral("CCmd")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("CCmd"))) {
        uint8_t type = 0;
        if (!ReadType(e, type))
            continue;
        std::unique_ptr<TModCtrlCommand> cmd = NewFileCommand(type);
        if (!cmd)
            continue;
        ReadCommon(e, *cmd);
        ReadInt(e, QStringLiteral("Min"), cmd->Min);
        ReadInt(e, QStringLiteral("Max"), cmd->Max);
        if (e.hasAttribute(QStringLiteral("VList")))
            cmd->VList = SplitValueList(e.attribute(QStringLiteral("VList")));
        const QDomElement para = e.firstChildElement(QStringLiteral("Para"));
        if (!para.isNull())
            ReadValue(para, *cmd);
        if (!IsMakerInternal(*cmd))
            CmdList->Add(cmd.release());
    }
    return true;
}

bool TosKSVCmdDOM::LoadProcessData(const QDomElement &module)
{
    const QDomElement section = module.firstChildElement(QStringLiteral("ProzessData"));
    for (QDomElement e = section.firstChildElement(QStringLiteral("PCmd")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("PCmd"))) {
        uint8_t type = 0;
        if (!ReadType(e, type) || type != 0)
            continue;
        auto cmd = std::make_unique<TModProcCommand>();
        ReadCommon(e, *cmd);
        ReadText(e, QStringLiteral("PhysUnit"), cmd->PhysUnit);
        ReadInt(e, QStringLiteral("CompFactor"), cmd->CompFactor);
        if (!IsMakerInternal(*cmd))
            ProcessData->Add(cmd.release());
    }
    return !section.isNull();
}

bool TosKSVCmdDOM::LoadStatusInfo(const QDomElement &module)
{
    const QDomElement section = module.firstChildElement(QStringLiteral("StatusInfo"));
    for (QDomElement e = section.firstChildElement(QStringLiteral("SCmd")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("SCmd"))) {
        uint8_t type = 0;
        if (!ReadType(e, type) || type != 10)
            continue;
        auto cmd = std::make_unique<TModStatusBitCommand>();
        ReadText(e, QStringLiteral("Name"), cmd->Name);
        ReadLow(e, QStringLiteral("AType"), cmd->AType);
        ReadLow(e, QStringLiteral("BIndex"), cmd->BIndex);
        ReadLow(e, QStringLiteral("GCode"), cmd->GCode);
        ReadBool(e, QStringLiteral("BActive"), cmd->BActive);
        ReadBool(e, QStringLiteral("BInvers"), cmd->BInvers);
        ReadLow(e, QStringLiteral("BColor"), cmd->BColor);
        ReadText(e, QStringLiteral("Help"), cmd->HintText);
        if (!IsMakerInternal(*cmd))
            StatusInfo->Add(cmd.release());
    }
    return !section.isNull();
}

bool TosKSVCmdDOM::LoadRemoteCtrl(const QDomElement &module)
{
    const QDomElement section = module.firstChildElement(QStringLiteral("RemoteCtrl"));
    for (QDomElement e = section.firstChildElement(QStringLiteral("RCmd")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("RCmd"))) {
        uint8_t type = 0;
        if (!ReadType(e, type) || type != 11)
            continue;
        auto cmd = std::make_unique<TModRemoteCtrlCmd>();
        ReadCommon(e, *cmd);
        if (!IsMakerInternal(*cmd))
            RemoteCtrlCmds->Add(cmd.release());
    }
    return !section.isNull();
}

bool TosKSVCmdDOM::LoadValues(const QString &path, const QString &id, QStringList *notFound)
{
    if (notFound)
        notFound->clear();
    if (!CmdList || !LoadFromFile(path))
        return false;
    int matches = 0;
    const QDomElement module = FindModule(id, matches);
    if (matches != 1)
        return false;
    const QDomElement section = module.firstChildElement(QStringLiteral("Commands"));
    if (section.isNull())
        return false;
    for (QDomElement e = section.firstChildElement(QStringLiteral("CCmd")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("CCmd"))) {
        if (!e.hasAttribute(QStringLiteral("Name")))
            continue;
        const QString name = e.attribute(QStringLiteral("Name"));
        auto *cmd = dynamic_cast<TModCtrlCommand *>(CmdList->Command(CmdList->IndexOf(name)));
        if (!cmd) {
            if (notFound)
                notFound->append(name);
            continue;
        }
        const QDomElement para = e.firstChildElement(QStringLiteral("Para"));
        if (!para.isNull())
            ReadValue(para, *cmd);
    }
    return true;
}

bool TosKSVCmdDOM::SaveModule(const QString &path, const QString &id)
{
    if (!ListsSet())
        return false;
    if (!LoadFromFile(path)) {
        if (QFileInfo::exists(path))
            return false; // never replace a file we cannot read back
        ResetDocument();
    }
    int matches = 0;
    QDomElement module = FindModule(id, matches);
    if (matches == 0) {
        module = AppendElement(Model().documentElement(), QStringLiteral("Modul"));
    } else {
        while (!module.firstChild().isNull())
            module.removeChild(module.firstChild());
    }
    module.setAttribute(QStringLiteral("ID"), id);
    WriteModule(module);
    return SaveToFile(path);
}

// Maker-internal commands never leave the program.
void TosKSVCmdDOM::WriteModule(QDomElement &module)
{
    WriteCommands(AppendElement(module, QStringLiteral("Commands")), *CmdList);
    WriteProcessData(AppendElement(module, QStringLiteral("ProzessData")), *ProcessData);
    WriteStatusInfo(AppendElement(module, QStringLiteral("StatusInfo")), *StatusInfo);
    WriteRemoteCtrl(AppendElement(module, QStringLiteral("RemoteCtrl")), *RemoteCtrlCmds);
}
