#include "ksv500optionsdlg.h"

#include "appinikeys.h"
#include "colorbox.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// A group box of radio buttons whose ids are their item numbers.
QGroupBox *CreateRadioGroup(const QString &name, const QString &caption, const QStringList &items,
                            QButtonGroup **group, QWidget *parent)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    *group = new QButtonGroup(box);
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], box);
        (*group)->addButton(button, i);
        layout->addWidget(button);
    }
    return box;
}

void SelectItem(QButtonGroup *group, int item)
{
    if (QAbstractButton *button = group->button(item))
        button->setChecked(true);
}

QLabel *CreateLabel(const QString &name, const QString &caption, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setBuddy(buddy);
    return label;
}

QComboBox *CreateCombo(const QString &name, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setMaxVisibleItems(qMax(items.size(), 1));
    return combo;
}

// The pages of a notebook share its height; their controls stay at the top.
void TopAligned(QWidget *page, QLayout *content)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(content);
    layout->addStretch(1);
}

// Gives the labels one width so the controls beside them line up across groups.
void AlignLabelColumn(const QList<QLabel *> &labels)
{
    int width = 0;
    for (const QLabel *label : labels)
        width = qMax(width, label->sizeHint().width());
    for (QLabel *label : labels)
        label->setMinimumWidth(width);
}

QStringList RateNames()
{
    return QStringList(ModBaudrateNames.begin(), ModBaudrateNames.end());
}

// Stores the rate named by the combo's selection; no selection or another text keeps the stored one.
void SaveRate(const QComboBox *combo, const std::function<void(TModBaudrate)> &store)
{
    TModBaudrate rate = mb9600;
    if (combo->currentIndex() >= 0 && FindModBaudrateName(combo->currentText(), rate))
        store(rate);
}

QCheckBox *CreateCheckBox(const QString &name, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

TColorBox *CreateColorBox(const QString &name, QWidget *parent)
{
    auto *box = new TColorBox(parent);
    box->setObjectName(name);
    return box;
}

} // namespace

TKSV500OptionsDlg::TKSV500OptionsDlg(QWidget *Parent)
    : QDialog(Parent)
    , FPort{IniSection::Interface, IniKey::Port, QString()}
    , FTranferMode{IniSection::Interface, IniKey::TranferMode, int(tmFullDuplex)}
    , FAutoBRDetection{IniSection::Interface, IniKey::AutoBRDetection, false}
    , FFixBR{IniSection::Interface, IniKey::FixBR, ModBaudrates[mb9600]}
    , FAutoSetBR{IniSection::Interface, IniKey::AutoSetBR, false}
    , FAutoBR{IniSection::Interface, IniKey::AutoBR, ModBaudrates[mb38400]}
    , FDelayOnFirmwareUpdate{IniSection::Interface, IniKey::DelayOnFirmwareUpdate, 0}
    , FBackgoundColor{IniSection::Scope, IniKey::BackgoundColor, clBtnFace}
    , FGridColor{IniSection::Scope, IniKey::GridColor, clBlue}
    , FCha1Color{IniSection::Scope, IniKey::Cha1Color, clBlue}
    , FCha2Color{IniSection::Scope, IniKey::Cha2Color, clRed}
    , FCha3Color{IniSection::Scope, IniKey::Cha3Color, clGreen}
    , FCha4Color{IniSection::Scope, IniKey::Cha4Color, clBlack}
    , FSignalLineWidth{IniSection::Scope, IniKey::SignalLineWidth, 0}
    , FULimLLimManually{IniSection::Scope, IniKey::ULimLLimManually, false}
    , FVisParaKind{IniSection::Monitor, IniKey::VisParaKind, 0}
    , FVisParaCnt{IniSection::Monitor, IniKey::VisParaCnt, 4}
    , FShowCmdGrpInfo{IniSection::Zolt, IniKey::ShowCmdGrpInfo, false}
    , FKSVFileViewer{IniSection::Zolt, IniKey::KSVFileViewer, false}
    , FSFWUpdate{IniSection::Zolt, IniKey::SFWUpdate, false}
    , FTermFWUpdate{IniSection::Zolt, IniKey::TermFWUpdate, false}
    , FShowDecimals{IniSection::TableInput, IniKey::ShowDecimals, false}
    , FAinCommandUI{IniSection::TableInput, IniKey::AinCommandUI, false}
{
    setObjectName(QStringLiteral("KSV500OptionsDlg"));
    setWindowTitle(QStringLiteral("Options"));

    PCtrlOptions = new QTabWidget(this);
    PCtrlOptions->setObjectName(QStringLiteral("PCtrlOptions"));
    PCtrlOptions->setUsesScrollButtons(false); // the dialog is made wide enough for every tab
    PCtrlOptions->addTab(CreateInterfaceTab(), QStringLiteral("Interface"));
    PCtrlOptions->addTab(CreateScopeTab(), QStringLiteral("Oscilloscope"));
    PCtrlOptions->addTab(CreateMonitorTab(), QStringLiteral("Monitor"));
    TSZolt = CreateZoltTab();
    PCtrlOptions->addTab(TSZolt, QStringLiteral("Z.O.LT."));
    PCtrlOptions->addTab(CreateTableInputTab(), QStringLiteral("Table Input"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PCtrlOptions, 1);
    layout->addWidget(CreateButtonPanel());

    connect(FBROptionsItems, &QButtonGroup::idClicked, NBBROptions, &QStackedWidget::setCurrentIndex);
    connect(FTransferModeItems, &QButtonGroup::idClicked, this, &TKSV500OptionsDlg::UpdateBaudControls);
    connect(CBAutoSetBR, &QCheckBox::clicked, this, &TKSV500OptionsDlg::UpdateBaudControls);
    connect(FVisibleParaKindItems, &QButtonGroup::idClicked, this, &TKSV500OptionsDlg::UpdateVisParCntEnabled);
}

QWidget *TKSV500OptionsDlg::CreateInterfaceTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TSInterface"));

    RGrpBROptions = CreateRadioGroup(QStringLiteral("RGrpBROptions"), QStringLiteral("Baudrate options"),
                                     {QStringLiteral("Fix baudrate"), QStringLiteral("Auto baudrate detection")},
                                     &FBROptionsItems, tab);

    auto *brSettings = new QGroupBox(QStringLiteral("Baudrate settings"), tab);
    NBBROptions = new QStackedWidget(brSettings);
    NBBROptions->setObjectName(QStringLiteral("NBBROptions"));

    auto *fixPage = new QWidget(NBBROptions);
    CBoxFixBR = CreateCombo(QStringLiteral("CBoxFixBR"), RateNames(), fixPage);
    LblFixBR = CreateLabel(QStringLiteral("LblFixBR"), QStringLiteral("Fix baudrate"), CBoxFixBR, fixPage);
    auto *fixLayout = new QFormLayout;
    fixLayout->addRow(LblFixBR, CBoxFixBR);
    TopAligned(fixPage, fixLayout);
    NBBROptions->addWidget(fixPage);

    auto *autoPage = new QWidget(NBBROptions);
    CBAutoSetBR = CreateCheckBox(QStringLiteral("CBAutoSetBR"), QStringLiteral("Auto Change To  Selected Baudrate"),
                                 autoPage);
    CBoxHighBR = CreateCombo(QStringLiteral("CBoxHighBR"), RateNames(), autoPage);
    LblAutoBR = CreateLabel(QStringLiteral("LblAutoBR"), QStringLiteral("Auto Baudrate"), CBoxHighBR, autoPage);
    auto *autoLayout = new QFormLayout;
    autoLayout->addRow(CBAutoSetBR);
    autoLayout->addRow(LblAutoBR, CBoxHighBR);
    TopAligned(autoPage, autoLayout);
    NBBROptions->addWidget(autoPage);

    auto *brSettingsLayout = new QVBoxLayout(brSettings);
    brSettingsLayout->addWidget(NBBROptions);

    auto *portGroup = new QGroupBox(QStringLiteral("Port selection"), tab);
    CBPort = CreateCombo(QStringLiteral("CBPort"), {}, portGroup);
    CBPort->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    LblPort = CreateLabel(QStringLiteral("LblPort"), QStringLiteral("Serial Port"), CBPort, portGroup);
    auto *portLayout = new QFormLayout(portGroup);
    portLayout->addRow(LblPort, CBPort);

    RGrpTransferMode = CreateRadioGroup(QStringLiteral("RGrpTransferMode"), QStringLiteral("Transfer Mode"),
                                        {QStringLiteral("Full-Duplex"), QStringLiteral("Half-Duplex (19200 Baud)")},
                                        &FTransferModeItems, tab);

    auto *delayGroup = new QGroupBox(QStringLiteral("Delay On Firmware Update"), tab);
    DelayOnFirmwareUpdateEdit = new QSpinBox(delayGroup);
    DelayOnFirmwareUpdateEdit->setObjectName(QStringLiteral("DelayOnFirmwareUpdateEdit"));
    DelayOnFirmwareUpdateEdit->setRange(0, 100);
    auto *delayLayout = new QHBoxLayout(delayGroup);
    delayLayout->addWidget(DelayOnFirmwareUpdateEdit);
    delayLayout->addWidget(new QLabel(QStringLiteral("Milliseconds"), delayGroup), 1);

    AlignLabelColumn({LblFixBR, LblAutoBR, LblPort});

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(RGrpBROptions);
    layout->addWidget(brSettings);
    layout->addWidget(portGroup);
    layout->addWidget(RGrpTransferMode);
    layout->addWidget(delayGroup);
    layout->addStretch(1);
    return tab;
}

QWidget *TKSV500OptionsDlg::CreateScopeTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TSOscilloscope"));

    auto *channels = new QGroupBox(QStringLiteral("Channel Settings"), tab);
    auto *channelLayout = new QFormLayout(channels);
    QList<QLabel *> labels;
    const auto addRow = [&labels](QFormLayout *form, const QString &caption, QWidget *control) {
        labels << new QLabel(caption, control->parentWidget());
        labels.back()->setBuddy(control);
        form->addRow(labels.back(), control);
    };
    TColorBox **channelBoxes[] = {&CBoxCha1Color, &CBoxCha2Color, &CBoxCha3Color, &CBoxCha4Color};
    for (int i = 0; i < 4; ++i) {
        *channelBoxes[i] = CreateColorBox(QStringLiteral("CBoxCha%1Color").arg(i + 1), channels);
        addRow(channelLayout, QStringLiteral("Channel %1 Color").arg(i + 1), *channelBoxes[i]);
    }

    auto *display = new QGroupBox(QStringLiteral("Display"), tab);
    auto *displayLayout = new QFormLayout(display);
    CBoxGridColor = CreateColorBox(QStringLiteral("CBoxGridColor"), display);
    CBoxDspColor = CreateColorBox(QStringLiteral("CBoxDspColor"), display);
    addRow(displayLayout, QStringLiteral("Grid Color"), CBoxGridColor);
    addRow(displayLayout, QStringLiteral("Display Color"), CBoxDspColor);

    auto *lineWidth = new QGroupBox(QStringLiteral("Line Width"), tab);
    auto *lineWidthLayout = new QFormLayout(lineWidth);
    CBoxSigLineWidth = CreateCombo(QStringLiteral("CBoxSigLineWidth"), {}, lineWidth);
    addRow(lineWidthLayout, QStringLiteral("Signal Line Width"), CBoxSigLineWidth);
    AlignLabelColumn(labels);

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(channels);
    layout->addWidget(display);
    layout->addWidget(lineWidth);
    layout->addStretch(1);
    return tab;
}

QWidget *TKSV500OptionsDlg::CreateMonitorTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TSMonitor"));

    auto *monitor = new QGroupBox(QStringLiteral("Monitor"), tab);
    RGVisibleParaKind = CreateRadioGroup(
        QStringLiteral("RGVisibleParaKind"), QStringLiteral("Visible parameter"),
        {QStringLiteral("Default (4)"), QStringLiteral("Custom"), QStringLiteral("Max (all parameter)")},
        &FVisibleParaKindItems, monitor);

    auto *customDef = new QGroupBox(QStringLiteral("Custom Def"), monitor);
    QStringList counts;
    for (int i = 1; i <= 10; ++i)
        counts << QString::number(i);
    CBoxVisParCnt = CreateCombo(QStringLiteral("CBoxVisParCnt"), counts, customDef);
    auto *customLayout = new QFormLayout(customDef);
    customLayout->addRow(CreateLabel(QStringLiteral("LblVisParCnt"), QStringLiteral("Visible parameters"),
                                     CBoxVisParCnt, customDef),
                         CBoxVisParCnt);

    auto *monitorLayout = new QVBoxLayout(monitor);
    monitorLayout->addWidget(RGVisibleParaKind);
    monitorLayout->addWidget(customDef);

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(monitor);
    layout->addStretch(1);
    return tab;
}

QWidget *TKSV500OptionsDlg::CreateZoltTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TSZolt"));
    CBShowCmdGrpInfo = CreateCheckBox(QStringLiteral("CBShowCmdGrpInfo"), QStringLiteral("Show Command Group Info"), tab);
    CBKSVFileViewer = CreateCheckBox(QStringLiteral("CBKSVFileViewer"), QStringLiteral("Enable KSV-File Viewer"), tab);
    CBSFWUpdate = CreateCheckBox(QStringLiteral("CBSFWUpdate"), QStringLiteral("Enable Short Firmware Update "), tab);
    CBTermFWUpdate = CreateCheckBox(QStringLiteral("CBTermFWUpdate"),
                                    QStringLiteral("Enable Firmware Update Via Terminal"), tab);
    CBULimLLimManually = CreateCheckBox(QStringLiteral("CBULimLLimManually"), QStringLiteral("ULim/LLim manually"), tab);

    auto *layout = new QVBoxLayout(tab);
    for (QCheckBox *box : {CBShowCmdGrpInfo, CBKSVFileViewer, CBSFWUpdate, CBTermFWUpdate, CBULimLLimManually})
        layout->addWidget(box);
    layout->addStretch(1);
    return tab;
}

QWidget *TKSV500OptionsDlg::CreateTableInputTab()
{
    auto *tab = new QWidget;
    tab->setObjectName(QStringLiteral("TSTableInput"));
    CBShowDecimals = CreateCheckBox(QStringLiteral("CBShowDecimals"),
                                    QStringLiteral("Show percent values (%) with 2 decimals"), tab);
    CBAinCommandUI = CreateCheckBox(QStringLiteral("CBAinCommandUI"), QStringLiteral("AIN Command = U/I"), tab);
    // Both kept hidden: their settings are maintained, but not offered to the user.
    CBShowDecimals->hide();
    CBAinCommandUI->hide();

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(CBShowDecimals);
    layout->addWidget(CBAinCommandUI);
    layout->addStretch(1);
    return tab;
}

QWidget *TKSV500OptionsDlg::CreateButtonPanel()
{
    auto *buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("PanelButtons"));
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    QPushButton *cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void TKSV500OptionsDlg::SetApplIni(TosApplIni *ApplIni)
{
    FApplIni = ApplIni;
}

void TKSV500OptionsDlg::SetSerialPortSource(TSerialPortSource Source)
{
    FSerialPortSource = std::move(Source);
}

bool TKSV500OptionsDlg::Execute()
{
    LoadSettings();
    PCtrlOptions->setCurrentIndex(0);
    if (exec() != QDialog::Accepted)
        return false;
    SaveSettings();
    return true;
}

void TKSV500OptionsDlg::LoadSettings()
{
    CBPort->setEnabled(FInterfaceEditable);
    LblPort->setEnabled(FInterfaceEditable);
    SelectItem(FTransferModeItems, TranferMode());
    RGrpTransferMode->setEnabled(FInterfaceEditable);

    SelectItem(FBROptionsItems, AutoBRDetection() ? 1 : 0);
    CBoxFixBR->setCurrentIndex(FixBR());
    CBAutoSetBR->setChecked(AutoSetBR());
    CBoxHighBR->setCurrentIndex(AutoBR());
    UpdateBaudControls();
    NBBROptions->setCurrentIndex(FBROptionsItems->checkedId());

    DelayOnFirmwareUpdateEdit->setValue(DelayOnFirmwareUpdate());
    CBoxDspColor->SetColorValue(BackgoundColor());
    CBoxGridColor->SetColorValue(GridColor());
    CBoxCha1Color->SetColorValue(Cha1Color());
    CBoxCha2Color->SetColorValue(Cha2Color());
    CBoxCha3Color->SetColorValue(Cha3Color());
    CBoxCha4Color->SetColorValue(Cha4Color());

    CBoxSigLineWidth->clear();
    CBoxSigLineWidth->addItems({QStringLiteral("Small"), QStringLiteral("Medium"), QStringLiteral("Fat")});
    CBoxSigLineWidth->setMaxVisibleItems(CBoxSigLineWidth->count());
    CBoxSigLineWidth->setCurrentIndex(SignalLineWidth());
    CBULimLLimManually->setChecked(ULimLLimManually());

    SelectItem(FVisibleParaKindItems, VisParaKind());
    const int count = VisParaCnt();
    CBoxVisParCnt->setCurrentIndex(count < 1 ? -1 : qMin(count - 1, 9));
    UpdateVisParCntEnabled();

    if (FSerialPortSource) {
        CBPort->clear();
        CBPort->addItems(FSerialPortSource());
        CBPort->setMaxVisibleItems(qMax(CBPort->count(), 1));
        CBPort->setCurrentIndex(CBPort->findText(Port()));
    }

    PCtrlOptions->setTabVisible(PCtrlOptions->indexOf(TSZolt), FServiceTabVisible);
    CBShowCmdGrpInfo->setChecked(ShowCmdGrpInfo());
    CBKSVFileViewer->setChecked(KSVFileViewer());
    CBSFWUpdate->setChecked(SFWUpdate());
    CBTermFWUpdate->setChecked(TermFWUpdate());
    CBShowDecimals->setChecked(ShowDecimals());
    CBAinCommandUI->setChecked(AinCommandUI());
}

void TKSV500OptionsDlg::SaveSettings()
{
    SetAutoSetBR(CBAutoSetBR->isChecked());
    if (CBPort->currentIndex() >= 0)
        SetPort(CBPort->currentText());
    SaveRate(CBoxHighBR, [this](TModBaudrate rate) { SetAutoBR(rate); });
    SetAutoBRDetection(FBROptionsItems->checkedId() == 1);
    SaveRate(CBoxFixBR, [this](TModBaudrate rate) { SetFixBR(rate); });
    SetTranferMode(FTransferModeItems->checkedId() == 1 ? tmHalfDuplex : tmFullDuplex);
    SetDelayOnFirmwareUpdate(DelayOnFirmwareUpdateEdit->value());

    SetBackgoundColor(CBoxDspColor->ColorValue());
    SetGridColor(CBoxGridColor->ColorValue());
    SetCha1Color(CBoxCha1Color->ColorValue());
    SetCha2Color(CBoxCha2Color->ColorValue());
    SetCha3Color(CBoxCha3Color->ColorValue());
    SetCha4Color(CBoxCha4Color->ColorValue());

    SetSignalLineWidth(CBoxSigLineWidth->currentIndex());
    SetULimLLimManually(CBULimLLimManually->isChecked());

    SetVisParaKind(FVisibleParaKindItems->checkedId());
    // Without a selection (a stored count below 1) the stored count stays.
    if (CBoxVisParCnt->currentIndex() >= 0)
        SetVisParaCnt(CBoxVisParCnt->currentIndex() + 1);

    if (FServiceTabVisible) {
        SetShowCmdGrpInfo(CBShowCmdGrpInfo->isChecked());
        SetKSVFileViewer(CBKSVFileViewer->isChecked());
        SetSFWUpdate(CBSFWUpdate->isChecked());
        SetTermFWUpdate(CBTermFWUpdate->isChecked());
    }
    SetShowDecimals(CBShowDecimals->isChecked());
    SetAinCommandUI(CBAinCommandUI->isChecked());
}

// Baud settings can be changed only while the interface is editable and full duplex is chosen
// (half duplex always runs at 19200 bit/s); the high rate only when switching to it is on.
void TKSV500OptionsDlg::UpdateBaudControls()
{
    const bool baudEditable = FInterfaceEditable && FTransferModeItems->checkedId() == tmFullDuplex;
    RGrpBROptions->setEnabled(baudEditable);
    CBoxFixBR->setEnabled(baudEditable);
    LblFixBR->setEnabled(baudEditable);
    CBAutoSetBR->setEnabled(baudEditable);
    const bool highRateEditable = baudEditable && CBAutoSetBR->isChecked();
    CBoxHighBR->setEnabled(highRateEditable);
    LblAutoBR->setEnabled(highRateEditable);
}

void TKSV500OptionsDlg::UpdateVisParCntEnabled()
{
    CBoxVisParCnt->setEnabled(FVisibleParaKindItems->checkedId() == 1);
}
