#include "colorbox.h"
#include "ksv500optionsdlg.h"
#include "tempconfighome.h"
#include "waitfor.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A settings dialog on a settings file in a temporary config folder, run as the user would:
// Execute, look at and change the controls, press OK or Cancel.
class OptionsDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FDlg.SetApplIni(FIni.get());
        FDlg.SetSerialPortSource([this] { return FPorts; });
    }

    QString IniPath() const { return FIni->FullPath(); }
    QByteArray IniText() const { return TTempConfigHome::ReadFile(IniPath()); }
    void SetIniText(const QByteArray &text) { TTempConfigHome::WriteFile(IniPath(), text); }

    template <typename W>
    W *Find(const QString &name)
    {
        W *widget = FDlg.findChild<W *>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }

    QRadioButton *Radio(const QString &group, const QString &caption)
    {
        for (QRadioButton *button : Find<QGroupBox>(group)->findChildren<QRadioButton *>())
            if (button->text() == caption)
                return button;
        ADD_FAILURE() << "no radio button " << caption.toStdString() << " in " << group.toStdString();
        return nullptr;
    }

    QCheckBox *CheckBox(const QString &caption)
    {
        for (QCheckBox *box : FDlg.findChildren<QCheckBox *>())
            if (box->text() == caption)
                return box;
        ADD_FAILURE() << "no check box " << caption.toStdString();
        return nullptr;
    }

    QTabWidget *Tabs() { return Find<QTabWidget>("PCtrlOptions"); }

    bool TabVisible(const QString &caption)
    {
        for (int i = 0; i < Tabs()->count(); ++i)
            if (Tabs()->tabText(i) == caption)
                return Tabs()->isTabVisible(i);
        ADD_FAILURE() << "no tab " << caption.toStdString();
        return false;
    }

    // Picks an entry with the keyboard, as a user does on a closed drop-down.
    static void Choose(QComboBox *combo, const QString &text)
    {
        const int index = combo->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(combo->currentText(), text);
    }

    // Clicks near the left edge: radio buttons and check boxes take clicks only on their
    // indicator and caption, not on the whole width a layout gives them.
    static void Click(QAbstractButton *button)
    {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
    }

    // Executes the dialog; once it is shown, interact runs and then OK or Cancel is pressed.
    bool Run(const std::function<void()> &interact, bool pressOk)
    {
        bool shown = false;
        QTimer::singleShot(0, &FDlg, [&] {
            shown = QApplication::activeModalWidget() == &FDlg;
            interact();
            Click(Find<QPushButton>(pressOk ? "BtnOK" : "BtnCancel"));
            if (FDlg.isVisible())
                FDlg.done(QDialog::Rejected); // never leave the test hanging in the dialog
        });
        const bool result = FDlg.Execute();
        EXPECT_TRUE(shown) << "the dialog was not the active modal window";
        return result;
    }
    bool RunOk(const std::function<void()> &interact = [] {}) { return Run(interact, true); }
    bool RunCancel(const std::function<void()> &interact = [] {}) { return Run(interact, false); }

    TTempConfigHome FHome;
    std::unique_ptr<TosApplIni> FIni = std::make_unique<TosApplIni>();
    QStringList FPorts{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/ttyUSB1", "Simulated module"};
    TKSV500OptionsDlg FDlg;
};

TEST_F(OptionsDlgTest, FirstStartWithoutFileUsesDefaults)
{
    EXPECT_EQ(FDlg.Port(), "");
    EXPECT_EQ(FDlg.TranferMode(), tmFullDuplex);
    EXPECT_FALSE(FDlg.AutoBRDetection());
    EXPECT_EQ(FDlg.FixBR(), mb9600);
    EXPECT_FALSE(FDlg.AutoSetBR());
    EXPECT_EQ(FDlg.AutoBR(), mb38400);
    EXPECT_EQ(FDlg.DelayOnFirmwareUpdate(), 0);
    EXPECT_EQ(FDlg.BackgoundColor(), -16777201);
    EXPECT_EQ(FDlg.GridColor(), 16711680);
    EXPECT_EQ(FDlg.Cha1Color(), 16711680);
    EXPECT_EQ(FDlg.Cha2Color(), 255);
    EXPECT_EQ(FDlg.Cha3Color(), 32768);
    EXPECT_EQ(FDlg.Cha4Color(), 0);
    EXPECT_EQ(FDlg.SignalLineWidth(), 0);
    EXPECT_EQ(FDlg.VisParaKind(), 0);
    EXPECT_EQ(FDlg.VisParaCnt(), 4);
    EXPECT_FALSE(FDlg.ShowCmdGrpInfo() || FDlg.KSVFileViewer() || FDlg.SFWUpdate() || FDlg.TermFWUpdate()
                 || FDlg.ULimLLimManually() || FDlg.ShowDecimals() || FDlg.AinCommandUI());

    EXPECT_FALSE(RunCancel([&] {
        EXPECT_EQ(FDlg.windowTitle(), "Options");
        EXPECT_TRUE(Radio("RGrpBROptions", "Fix baudrate")->isChecked());
        EXPECT_EQ(Find<QStackedWidget>("NBBROptions")->currentIndex(), 0);
        EXPECT_EQ(Find<QComboBox>("CBoxFixBR")->currentText(), "9.6 KBaud");
        EXPECT_EQ(Find<QComboBox>("CBoxHighBR")->currentText(), "38.4 KBaud");
        EXPECT_TRUE(Radio("RGrpTransferMode", "Full-Duplex")->isChecked());
        EXPECT_EQ(Find<QComboBox>("CBPort")->currentIndex(), -1);
        EXPECT_EQ(Find<QComboBox>("CBPort")->count(), 4);
        EXPECT_EQ(Find<QComboBox>("CBoxCha1Color")->currentText(), "Blue");
        EXPECT_EQ(Find<QComboBox>("CBoxCha2Color")->currentText(), "Red");
        EXPECT_EQ(Find<QComboBox>("CBoxCha3Color")->currentText(), "Green");
        EXPECT_EQ(Find<QComboBox>("CBoxCha4Color")->currentText(), "Black");
        EXPECT_EQ(Find<QComboBox>("CBoxGridColor")->currentText(), "Blue");
        EXPECT_EQ(Find<QComboBox>("CBoxDspColor")->currentText(), "Button Face");
        EXPECT_EQ(Find<QComboBox>("CBoxSigLineWidth")->currentText(), "Small");
        EXPECT_TRUE(Radio("RGVisibleParaKind", "Default (4)")->isChecked());
        EXPECT_EQ(Find<QComboBox>("CBoxVisParCnt")->currentText(), "4");
        EXPECT_FALSE(Find<QComboBox>("CBoxVisParCnt")->isEnabled());
    }));
    EXPECT_FALSE(QFileInfo::exists(IniPath())) << "Cancel writes nothing";
}

TEST_F(OptionsDlgTest, EveryDropDownShowsAllEntriesAndRateCombosListTheFiveRates)
{
    RunCancel([&] {
        for (QComboBox *combo : FDlg.findChildren<QComboBox *>())
            EXPECT_GE(combo->maxVisibleItems(), combo->count()) << combo->objectName().toStdString();
        const QStringList rates{"9.6 KBaud", "19.2 KBaud", "38.4 KBaud", "57.6 KBaud", "115.2 KBaud"};
        for (const char *name : {"CBoxFixBR", "CBoxHighBR"}) {
            QStringList items;
            for (int i = 0; i < Find<QComboBox>(name)->count(); ++i)
                items << Find<QComboBox>(name)->itemText(i);
            EXPECT_EQ(items, rates) << name;
        }
    });
}

TEST_F(OptionsDlgTest, ChangesMadeInTheDialogReachTheFileAndShowAgain)
{
    EXPECT_TRUE(RunOk([&] {
        Click(Radio("RGrpBROptions", "Auto baudrate detection"));
        EXPECT_EQ(Find<QStackedWidget>("NBBROptions")->currentIndex(), 1);
        EXPECT_FALSE(Find<QComboBox>("CBoxHighBR")->isEnabled());
        Click(Find<QCheckBox>("CBAutoSetBR"));
        EXPECT_TRUE(Find<QComboBox>("CBoxHighBR")->isEnabled());
        EXPECT_TRUE(Find<QLabel>("LblAutoBR")->isEnabled());
        Choose(Find<QComboBox>("CBoxHighBR"), "115.2 KBaud");
        Choose(Find<QComboBox>("CBoxFixBR"), "57.6 KBaud");
        Choose(Find<QComboBox>("CBPort"), "/dev/ttyUSB1");
        Find<QSpinBox>("DelayOnFirmwareUpdateEdit")->setValue(25);
        Choose(Find<QComboBox>("CBoxCha1Color"), "Lime");
        Choose(Find<QComboBox>("CBoxDspColor"), "White");
        Choose(Find<QComboBox>("CBoxSigLineWidth"), "Fat");
        Click(Radio("RGVisibleParaKind", "Custom"));
        EXPECT_TRUE(Find<QComboBox>("CBoxVisParCnt")->isEnabled());
        Choose(Find<QComboBox>("CBoxVisParCnt"), "7");
        Click(CheckBox("ULim/LLim manually"));
    }));
    const QByteArray text = IniText();
    for (const char *line : {"AutoBRDetection=1", "AutoSetBR=1", "AutoBR=115200", "FixBR=57600",
                             "Port=/dev/ttyUSB1", "TranferMode=0", "DelayOnFirmwareUpdate=25",
                             "Cha1Color=65280", "BackgoundColor=16777215", "SignalLineWidth=2",
                             "ULimLLimManually=1", "VisParaKind=1", "VisParaCnt=7"})
        EXPECT_TRUE(text.contains(QByteArray(line) + '\n')) << line << "\n" << text.constData();
    EXPECT_EQ(FDlg.AutoBR(), mb115200);
    EXPECT_EQ(FDlg.Port(), "/dev/ttyUSB1");

    RunCancel([&] {
        EXPECT_TRUE(Radio("RGrpBROptions", "Auto baudrate detection")->isChecked());
        EXPECT_EQ(Find<QStackedWidget>("NBBROptions")->currentIndex(), 1);
        EXPECT_TRUE(Find<QCheckBox>("CBAutoSetBR")->isChecked());
        EXPECT_EQ(Find<QComboBox>("CBoxHighBR")->currentText(), "115.2 KBaud");
        EXPECT_EQ(Find<QComboBox>("CBoxFixBR")->currentText(), "57.6 KBaud");
        EXPECT_EQ(Find<QComboBox>("CBPort")->currentText(), "/dev/ttyUSB1");
        EXPECT_EQ(Find<QSpinBox>("DelayOnFirmwareUpdateEdit")->value(), 25);
        EXPECT_EQ(Find<QComboBox>("CBoxCha1Color")->currentText(), "Lime");
        EXPECT_EQ(Find<QComboBox>("CBoxSigLineWidth")->currentText(), "Fat");
        EXPECT_TRUE(Radio("RGVisibleParaKind", "Custom")->isChecked());
        EXPECT_EQ(Find<QComboBox>("CBoxVisParCnt")->currentText(), "7");
        EXPECT_TRUE(CheckBox("ULim/LLim manually")->isChecked());
    });
}

TEST_F(OptionsDlgTest, CancelWritesNothing)
{
    const QByteArray before = "[Interface]\nFixBR=19200\nPort=/dev/ttyS0\n";
    SetIniText(before);
    EXPECT_FALSE(RunCancel([&] {
        Choose(Find<QComboBox>("CBoxFixBR"), "115.2 KBaud");
        Choose(Find<QComboBox>("CBPort"), "/dev/ttyUSB0");
        Click(Radio("RGrpTransferMode", "Half-Duplex (19200 Baud)"));
        Choose(Find<QComboBox>("CBoxGridColor"), "Red");
    }));
    EXPECT_EQ(IniText(), before);
}

TEST_F(OptionsDlgTest, HalfDuplexGreysTheBaudControlsAndKeepsTheirValues)
{
    const auto baudControlsEnabled = [&] {
        return std::vector<bool>{Find<QGroupBox>("RGrpBROptions")->isEnabled(),
                                 Find<QComboBox>("CBoxFixBR")->isEnabled(), Find<QLabel>("LblFixBR")->isEnabled(),
                                 Find<QCheckBox>("CBAutoSetBR")->isEnabled(),
                                 Find<QComboBox>("CBoxHighBR")->isEnabled(), Find<QLabel>("LblAutoBR")->isEnabled()};
    };
    const std::vector<bool> allGreyed(6, false);
    const std::vector<bool> allEnabled(6, true);
    SetIniText("[Interface]\nTranferMode=1\nAutoBRDetection=1\nFixBR=57600\nAutoSetBR=1\nAutoBR=19200\n");
    EXPECT_TRUE(RunOk([&] {
        EXPECT_TRUE(Radio("RGrpTransferMode", "Half-Duplex (19200 Baud)")->isChecked());
        EXPECT_EQ(baudControlsEnabled(), allGreyed);
        EXPECT_TRUE(Find<QComboBox>("CBPort")->isEnabled()) << "only the baud controls are greyed";
        Click(Radio("RGrpTransferMode", "Full-Duplex"));
        EXPECT_EQ(baudControlsEnabled(), allEnabled);
        Click(Radio("RGrpTransferMode", "Half-Duplex (19200 Baud)"));
        EXPECT_EQ(baudControlsEnabled(), allGreyed);
    }));
    EXPECT_EQ(FDlg.TranferMode(), tmHalfDuplex);
    EXPECT_TRUE(FDlg.AutoBRDetection());
    EXPECT_EQ(FDlg.FixBR(), mb57600);
    EXPECT_TRUE(FDlg.AutoSetBR());
    EXPECT_EQ(FDlg.AutoBR(), mb19200);
}

TEST_F(OptionsDlgTest, AutoSwitchBoxDecidesWhetherTheHighRateCanBeChosen)
{
    RunCancel([&] {
        Click(Radio("RGrpBROptions", "Auto baudrate detection"));
        QCheckBox *autoSet = Find<QCheckBox>("CBAutoSetBR");
        EXPECT_EQ(autoSet->text(), "Auto Change To  Selected Baudrate");
        for (bool checked : {true, false, true}) {
            Click(autoSet);
            EXPECT_EQ(autoSet->isChecked(), checked);
            EXPECT_EQ(Find<QComboBox>("CBoxHighBR")->isEnabled(), checked);
            EXPECT_EQ(Find<QLabel>("LblAutoBR")->isEnabled(), checked);
        }
        Click(Radio("RGrpBROptions", "Fix baudrate"));
        EXPECT_EQ(Find<QStackedWidget>("NBBROptions")->currentIndex(), 0);
    });
}

TEST_F(OptionsDlgTest, WhileConnectedTheInterfaceIsGreyedAndWrittenBackUnchanged)
{
    const QByteArray before = "[Interface]\nPort=/dev/ttyUSB0\nTranferMode=0\nAutoBRDetection=1\n"
                              "FixBR=19200\nAutoSetBR=1\nAutoBR=57600\n";
    SetIniText(before);
    FDlg.SetInterfaceEditable(false);
    EXPECT_FALSE(FDlg.InterfaceEditable());
    EXPECT_TRUE(RunOk([&] {
        for (const char *name : {"CBPort", "LblPort", "RGrpTransferMode", "RGrpBROptions", "CBoxFixBR", "LblFixBR",
                                 "CBAutoSetBR", "CBoxHighBR", "LblAutoBR"})
            EXPECT_FALSE(Find<QWidget>(name)->isEnabled()) << name;
        EXPECT_EQ(Find<QComboBox>("CBPort")->currentText(), "/dev/ttyUSB0");
        EXPECT_TRUE(Find<QCheckBox>("CBAutoSetBR")->isChecked());
        EXPECT_TRUE(Find<QSpinBox>("DelayOnFirmwareUpdateEdit")->isEnabled());
        Click(Radio("RGrpTransferMode", "Half-Duplex (19200 Baud)"));
        EXPECT_TRUE(Radio("RGrpTransferMode", "Full-Duplex")->isChecked()) << "a greyed item cannot be chosen";
    }));
    EXPECT_TRUE(IniText().startsWith(before)) << IniText().constData();

    FDlg.SetInterfaceEditable(true);
    RunCancel([&] {
        for (const char *name : {"CBPort", "RGrpTransferMode", "RGrpBROptions", "CBoxFixBR", "CBoxHighBR"})
            EXPECT_TRUE(Find<QWidget>(name)->isEnabled()) << name;
    });
}

TEST_F(OptionsDlgTest, HiddenServiceTabLeavesItsStoredSettingsAlone)
{
    // Non-canonical values show whether OK rewrote a key: ULimLLimManually is saved even
    // while its tab is hidden, the four "ZOLT" keys are not.
    const QByteArray zolt = "[ZOLT]\nShowCmdGrpInfo=7\nKSVFileViewer=1\nSFWUpdate=1\nTermFWUpdate=0\n";
    SetIniText(zolt + "[Scope]\nULimLLimManually=7\n");
    EXPECT_TRUE(RunOk([&] {
        EXPECT_FALSE(TabVisible("Z.O.LT."));
        EXPECT_TRUE(CheckBox("Show Command Group Info")->isChecked());
        EXPECT_TRUE(CheckBox("Enable Short Firmware Update ")->isChecked());
        EXPECT_FALSE(CheckBox("Enable Firmware Update Via Terminal")->isChecked());
        EXPECT_TRUE(CheckBox("ULim/LLim manually")->isChecked());
    }));
    EXPECT_TRUE(IniText().startsWith(zolt)) << IniText().constData();
    EXPECT_TRUE(IniText().contains("ULimLLimManually=1\n")) << IniText().constData();
}

TEST_F(OptionsDlgTest, VisibleServiceTabSavesItsCheckBoxes)
{
    SetIniText("[ZOLT]\nShowCmdGrpInfo=1\nKSVFileViewer=0\nSFWUpdate=0\nTermFWUpdate=0\n");
    FDlg.SetServiceTabVisible(true);
    EXPECT_TRUE(RunOk([&] {
        EXPECT_TRUE(TabVisible("Z.O.LT."));
        Click(CheckBox("Show Command Group Info"));
        Click(CheckBox("Enable KSV-File Viewer"));
        Click(CheckBox("Enable Short Firmware Update "));
        Click(CheckBox("Enable Firmware Update Via Terminal"));
    }));
    EXPECT_FALSE(FDlg.ShowCmdGrpInfo());
    EXPECT_TRUE(FDlg.KSVFileViewer());
    EXPECT_TRUE(FDlg.SFWUpdate());
    EXPECT_TRUE(FDlg.TermFWUpdate());
}

TEST_F(OptionsDlgTest, TableInputBoxesAreHiddenButTheirSettingsKept)
{
    SetIniText("[TableInput]\nShowDecimals=1\nAinCommandUI=1\n");
    EXPECT_TRUE(RunOk([&] {
        EXPECT_TRUE(TabVisible("Table Input"));
        for (const char *caption : {"Show percent values (%) with 2 decimals", "AIN Command = U/I"}) {
            EXPECT_FALSE(CheckBox(caption)->isVisible()) << caption;
            EXPECT_TRUE(CheckBox(caption)->isChecked()) << caption;
        }
    }));
    EXPECT_TRUE(FDlg.ShowDecimals());
    EXPECT_TRUE(FDlg.AinCommandUI());
}

// Stored monitor settings, what the dialog shows for them, and what OK stores back.
TEST_F(OptionsDlgTest, MonitorSettingsShowAsTheirItems)
{
    struct Case {
        const char *Text;
        const char *KindItem;
        const char *CountEntry; // "" for no selection
        bool CountEnabled;
        int SavedKind;
        int SavedCount;
    };
    const Case cases[] = {
        {"VisParaKind=1\nVisParaCnt=10\n", "Custom", "10", true, 1, 10},
        {"VisParaKind=2\nVisParaCnt=1\n", "Max (all parameter)", "1", false, 2, 1},
        {"VisParaKind=5\nVisParaCnt=4\n", "Default (4)", "4", false, 0, 4},
        {"VisParaKind=-1\nVisParaCnt=4\n", "Default (4)", "4", false, 0, 4},
        {"VisParaKind=1\nVisParaCnt=15\n", "Custom", "10", true, 1, 10},
        {"VisParaKind=1\nVisParaCnt=0\n", "Custom", "", true, 1, 0},
        {"VisParaKind=x\nVisParaCnt=y\n", "Default (4)", "4", false, 0, 4},
    };
    for (const Case &c : cases) {
        SetIniText(QByteArray("[Monitor]\n") + c.Text);
        RunOk([&] {
            EXPECT_TRUE(Radio("RGVisibleParaKind", c.KindItem)->isChecked()) << c.Text;
            EXPECT_EQ(Find<QComboBox>("CBoxVisParCnt")->currentText(), c.CountEntry) << c.Text;
            EXPECT_EQ(Find<QComboBox>("CBoxVisParCnt")->isEnabled(), c.CountEnabled) << c.Text;
        });
        EXPECT_EQ(FDlg.VisParaKind(), c.SavedKind) << c.Text;
        EXPECT_EQ(FDlg.VisParaCnt(), c.SavedCount) << c.Text;
    }
}

TEST_F(OptionsDlgTest, ClickingTheVisibleParameterKindEnablesTheCountForCustomOnly)
{
    RunCancel([&] {
        for (const char *item : {"Custom", "Max (all parameter)", "Custom", "Default (4)"}) {
            Click(Radio("RGVisibleParaKind", item));
            EXPECT_EQ(Find<QComboBox>("CBoxVisParCnt")->isEnabled(), QString(item) == "Custom") << item;
        }
    });
}

// Values in the file that are not allowed for their key read as the key's default.
TEST_F(OptionsDlgTest, ValuesOutsideTheirKeyReadAsDefault)
{
    struct Case {
        const char *Text;
        std::function<int(const TKSV500OptionsDlg &)> Read;
        int Expected;
    };
    const Case cases[] = {
        {"[Interface]\nFixBR=57600\n", [](auto &d) { return int(d.FixBR()); }, mb57600},
        {"[Interface]\nFixBR=12345\n", [](auto &d) { return int(d.FixBR()); }, mb9600},
        {"[Interface]\nFixBR=2\n", [](auto &d) { return int(d.FixBR()); }, mb9600},
        {"[Interface]\nFixBR=fast\n", [](auto &d) { return int(d.FixBR()); }, mb9600},
        {"[Interface]\nAutoBR=9600\n", [](auto &d) { return int(d.AutoBR()); }, mb9600},
        {"[Interface]\nAutoBR=12345\n", [](auto &d) { return int(d.AutoBR()); }, mb38400},
        {"[Interface]\nAutoBR=\n", [](auto &d) { return int(d.AutoBR()); }, mb38400},
        {"[Interface]\nTranferMode=1\n", [](auto &d) { return int(d.TranferMode()); }, tmHalfDuplex},
        {"[Interface]\nTranferMode=2\n", [](auto &d) { return int(d.TranferMode()); }, tmFullDuplex},
        {"[Scope]\nSignalLineWidth=2\n", [](auto &d) { return d.SignalLineWidth(); }, 2},
        {"[Scope]\nSignalLineWidth=3\n", [](auto &d) { return d.SignalLineWidth(); }, 0},
        {"[Scope]\nGridColor=abc\n", [](auto &d) { return d.GridColor(); }, 16711680},
        {"[Monitor]\nVisParaKind=3\n", [](auto &d) { return d.VisParaKind(); }, 0},
        {"[ZOLT]\nSFWUpdate=-1\n", [](auto &d) { return int(d.SFWUpdate()); }, 1},
        {"[ZOLT]\nSFWUpdate=true\n", [](auto &d) { return int(d.SFWUpdate()); }, 0},
    };
    for (const Case &c : cases) {
        SetIniText(c.Text);
        EXPECT_EQ(c.Read(FDlg), c.Expected) << c.Text;
    }
}

TEST_F(OptionsDlgTest, RatesAreStoredInBitsPerSecond)
{
    FDlg.SetFixBR(mb115200);
    FDlg.SetAutoBR(mb19200);
    EXPECT_EQ(FIni->ReadInteger("Interface", "FixBR", 0), 115200);
    EXPECT_EQ(FIni->ReadInteger("Interface", "AutoBR", 0), 19200);
    SetIniText("[Interface]\nFixBR=12345\nAutoBR=1\n");
    EXPECT_TRUE(RunOk([&] {
        EXPECT_EQ(Find<QComboBox>("CBoxFixBR")->currentText(), "9.6 KBaud");
        EXPECT_EQ(Find<QComboBox>("CBoxHighBR")->currentText(), "38.4 KBaud");
    }));
    EXPECT_EQ(FIni->ReadInteger("Interface", "FixBR", 0), 9600);
    EXPECT_EQ(FIni->ReadInteger("Interface", "AutoBR", 0), 38400);
}

TEST_F(OptionsDlgTest, PortWithoutMatchingEntryKeepsItsStoredValue)
{
    struct Case {
        QStringList Ports;
        bool WithSource;
    };
    const Case cases[] = {{{"/dev/ttyS0", "/dev/ttyUSB0"}, true}, {{}, true}, {{"/dev/ttyS0"}, false}};
    for (const Case &c : cases) {
        TKSV500OptionsDlg dlg;
        dlg.SetApplIni(FIni.get());
        if (c.WithSource)
            dlg.SetSerialPortSource([&] { return c.Ports; });
        SetIniText("[Interface]\nPort=/dev/ttyACM3\n");
        QTimer::singleShot(0, &dlg, [&] {
            auto *port = dlg.findChild<QComboBox *>("CBPort");
            EXPECT_EQ(port->count(), c.WithSource ? c.Ports.size() : 0);
            EXPECT_EQ(port->currentIndex(), -1);
            dlg.accept();
        });
        EXPECT_TRUE(dlg.Execute());
        EXPECT_EQ(dlg.Port(), "/dev/ttyACM3");
    }
}

TEST_F(OptionsDlgTest, ColoursShowByNameAndUnlistedOnesAsCustom)
{
    SetIniText("[Scope]\nBackgoundColor=-16777211\nGridColor=1193046\nCha1Color=12639424\n");
    EXPECT_TRUE(RunOk([&] {
        EXPECT_EQ(Find<QComboBox>("CBoxDspColor")->currentText(), "Window");
        EXPECT_EQ(Find<QComboBox>("CBoxGridColor")->currentText(), "Custom");
        EXPECT_EQ(Find<QComboBox>("CBoxCha1Color")->currentText(), "Money Green");
    }));
    EXPECT_EQ(FDlg.BackgoundColor(), -16777211) << "a system colour stays a system colour";
    EXPECT_EQ(FDlg.GridColor(), 1193046);
    EXPECT_EQ(FDlg.Cha1Color(), 12639424);
}

TEST_F(OptionsDlgTest, CustomEntryTakesTheColourChosenInTheColourDialog)
{
    for (bool accept : {true, false}) {
        SetIniText("[Scope]\nCha2Color=255\n");
        RunOk([&] {
            auto *box = Find<QComboBox>("CBoxCha2Color");
            QTimer::singleShot(0, [&] {
                QColorDialog *colors = nullptr;
                ASSERT_TRUE(WaitFor([&] {
                    return (colors = qobject_cast<QColorDialog *>(QApplication::activeModalWidget())) != nullptr;
                }, 10000));
                colors->setCurrentColor(QColor(0x12, 0x34, 0x56));
                if (accept)
                    colors->accept();
                else
                    colors->reject();
            });
            QTest::keyClick(box, Qt::Key_End);
            EXPECT_EQ(box->currentText(), accept ? "Custom" : "Red");
        });
        EXPECT_EQ(FDlg.Cha2Color(), accept ? 0x563412 : 255);
    }
}

TEST_F(OptionsDlgTest, ExecuteAlwaysOpensTheFirstTab)
{
    RunCancel([&] { Tabs()->setCurrentIndex(2); });
    RunCancel([&] { EXPECT_EQ(Tabs()->currentIndex(), 0); });
}

TEST_F(OptionsDlgTest, WithoutSettingsFileTheDialogKeepsItsOwnValues)
{
    TKSV500OptionsDlg dlg;
    EXPECT_EQ(dlg.ApplIni(), nullptr);
    dlg.SetVisParaCnt(7);
    dlg.SetPort("/dev/ttyS3");
    dlg.SetAutoBR(mb57600);
    dlg.SetCha3Color(clWhite);
    EXPECT_EQ(dlg.VisParaCnt(), 7);
    EXPECT_EQ(dlg.Port(), "/dev/ttyS3");
    EXPECT_EQ(dlg.AutoBR(), mb57600);
    EXPECT_EQ(dlg.Cha3Color(), clWhite);
    EXPECT_EQ(dlg.Cha4Color(), clBlack);

    auto ini = std::make_unique<TosApplIni>();
    dlg.SetApplIni(ini.get());
    EXPECT_EQ(dlg.VisParaCnt(), 4) << "the file's value (its default) while attached";
    dlg.SetVisParaCnt(9);
    EXPECT_EQ(ini->ReadInteger("Monitor", "VisParaCnt", 0), 9);
    ini.reset();
    EXPECT_EQ(dlg.ApplIni(), nullptr) << "forgotten when destroyed";
    EXPECT_EQ(dlg.VisParaCnt(), 9) << "a write stores the value in the dialog too";
    EXPECT_EQ(dlg.Port(), "/dev/ttyS3");
}

} // namespace
