#include "advmessagedlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Presses the button with the given caption on the message box once it is shown.
void PressWhenShown(const QString &caption, QString *title, QStringList *captions)
{
    QTimer::singleShot(0, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        *title = box->windowTitle();
        for (QAbstractButton *button : box->buttons())
            captions->append(button->text());
        for (QAbstractButton *button : box->buttons())
            if (button->text() == caption)
                button->click();
    });
}

} // namespace

TEST(AdvMessageDlg, TitleFollowsKind)
{
    EXPECT_EQ(AdvMessageTitle(mkWarning), "Warning");
    EXPECT_EQ(AdvMessageTitle(mkError), "Error");
    EXPECT_EQ(AdvMessageTitle(mkInformation), "Information");
    EXPECT_EQ(AdvMessageTitle(mkConfirmation), "Confirmation");
    EXPECT_EQ(AdvMessageTitle(mkCustom), "advmessagedlg_test");
}

TEST(AdvMessageDlg, EachButtonAnswersItsOwnResult)
{
    struct Case {
        TMsgDlgBtn Button;
        const char *Caption;
        int Result;
    };
    const Case cases[] = {
        {mbYes, "Yes", mrYes},       {mbNo, "No", mrNo},
        {mbOK, "Ok", mrOk},          {mbCancel, "Cancel", mrCancel},
        {mbAbort, "Abort", mrAbort}, {mbRetry, "Retry", mrRetry},
        {mbIgnore, "Ignore", mrIgnore}, {mbAll, "All", mrAll},
        {mbNoToAll, "No to all", mrNoToAll}, {mbYesToAll, "Yes to all", mrYesToAll},
    };
    const TMsgDlgButtons all = TMsgDlgButtons(0x3FF);
    for (const Case &c : cases) {
        QString title;
        QStringList captions;
        PressWhenShown(QString::fromLatin1(c.Caption), &title, &captions);
        EXPECT_EQ(AdvMessageDlg("Question?", mkConfirmation, all), c.Result) << c.Caption;
        EXPECT_EQ(title, "Confirmation");
        EXPECT_EQ(captions.size(), 10);
        EXPECT_TRUE(captions.contains(QString::fromLatin1(c.Caption)));
        EXPECT_EQ(AdvMessageButtonCaption(c.Button), c.Caption);
    }
}

TEST(AdvMessageDlg, OnlyTheAskedButtonsAreShown)
{
    QString title;
    QStringList captions;
    PressWhenShown("Ok", &title, &captions);
    EXPECT_EQ(AdvMessageDlg("No valid com-port selected!", mkError, mbOK), mrOk);
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(captions, QStringList{"Ok"});
}

TEST(AdvMessageDlg, AnswererReplacesTheBox)
{
    QString seen;
    SetAdvMessageAnswerer([&](const QString &msg, TMsgDlgType kind, TMsgDlgButtons buttons) {
        seen = msg;
        EXPECT_EQ(kind, mkWarning);
        EXPECT_TRUE(buttons.testFlag(mbNo));
        return int(mrNo);
    });
    EXPECT_EQ(AdvMessageDlg("Overwrite?", mkWarning, mbYes | mbNo), mrNo);
    SetAdvMessageAnswerer({});
    EXPECT_EQ(seen, "Overwrite?");
}
