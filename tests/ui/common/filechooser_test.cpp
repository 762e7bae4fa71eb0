#include "filechooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

TEST(FileChooser, FilterFromPairs)
{
    struct Case {
        const char *Pairs;
        const char *Filter;
    };
    const Case cases[] = {
        {"Modulparameter *.par (old)|*.par|Modulparameter *.ksv (new)|*.ksv",
         "Modulparameter *.par (old) (*.par);;Modulparameter *.ksv (new) (*.ksv)"},
        {"Offline Modulparameter (*.ksv)|*.ksv", "Offline Modulparameter (*.ksv)"},
        {"Firmware|*.s19;*.hex", "Firmware (*.s19 *.hex)"},
        {"", ""},
        {"Description without a pattern", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TFileChooser::FilterFromPairs(c.Pairs), c.Filter) << c.Pairs;
}

TEST(FileChooser, FilterEntryCountsFromOne)
{
    const QString filter = "A (*.par);;B (*.ksv)";
    EXPECT_EQ(TFileChooser::FilterEntry(filter, 1), "A (*.par)");
    EXPECT_EQ(TFileChooser::FilterEntry(filter, 2), "B (*.ksv)");
    EXPECT_EQ(TFileChooser::FilterEntry(filter, 0), "");
    EXPECT_EQ(TFileChooser::FilterEntry(filter, 3), "");
}

TEST(FileChooser, DialogStartsWithTheSelectedFilterAndOverwriteChoice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TFileChoice choice;
    choice.Kind = TFileChoice::fcSave;
    choice.Dir = dir.path();
    choice.Filter = "A (*.par);;B (*.ksv)";
    choice.SelectedFilter = "B (*.ksv)";
    choice.ConfirmOverwrite = false;
    QString shownFilter;
    bool confirms = true;
    QString shownDir;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shownFilter = dialog->selectedNameFilter();
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        shownDir = dialog->directory().absolutePath();
        dialog->reject();
    });
    EXPECT_EQ(TFileChooser::Choose(choice), "");
    EXPECT_EQ(shownFilter, "B (*.ksv)");
    EXPECT_FALSE(confirms);
    EXPECT_EQ(shownDir, QDir(dir.path()).absolutePath());
}
