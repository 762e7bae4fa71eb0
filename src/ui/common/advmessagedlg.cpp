#include "advmessagedlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <vector>
#include <utility>

namespace {

TAdvMessageAnswerer &Answerer()
{
    static TAdvMessageAnswerer answerer;
    return answerer;
}

struct TButtonInfo {
    TMsgDlgBtn Button;
    const char *Caption;
    TModalResult Result;
    QMessageBox::ButtonRole Role;
};

// In the order the buttons appear in the box.
constexpr std::array<TButtonInfo, 11> ButtonInfos{{
    {mbYes, "Yes", mrYes, QMessageBox::YesRole},
    {mbNo, "No", mrNo, QMessageBox::NoRole},
    {mbOK, "Ok", mrOk, QMessageBox::AcceptRole},
    {mbCancel, "Cancel", mrCancel, QMessageBox::RejectRole},
    {mbAbort, "Abort", mrAbort, QMessageBox::RejectRole},
    {mbRetry, "Retry", mrRetry, QMessageBox::AcceptRole},
    {mbIgnore, "Ignore", mrIgnore, QMessageBox::AcceptRole},
    {mbAll, "All", mrAll, QMessageBox::AcceptRole},
    {mbNoToAll, "No to all", mrNoToAll, QMessageBox::NoRole},
    {mbYesToAll, "Yes to all", mrYesToAll, QMessageBox::YesRole},
    {mbHelp, "Help", mrNone, QMessageBox::HelpRole},
}};

QMessageBox::Icon IconOf(TMsgDlgType kind)
{
    switch (kind) {
    case mkWarning: return QMessageBox::Warning;
    case mkError: return QMessageBox::Critical;
    case mkInformation: return QMessageBox::Information;
    case mkConfirmation: return QMessageBox::Question;
    case mkCustom: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString AdvMessageTitle(TMsgDlgType Kind)
{
    switch (Kind) {
    case mkWarning: return QStringLiteral("Warning");
    case mkError: return QStringLiteral("Error");
    case mkInformation: return QStringLiteral("Information");
    case mkConfirmation: return QStringLiteral("Confirmation");
    case mkCustom: break;
    }
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString AdvMessageButtonCaption(TMsgDlgBtn Button)
{
    for (const TButtonInfo &info : ButtonInfos)
        if (info.Button == Button)
            return QString::fromLatin1(info.Caption);
    return {};
}

int AdvMessageDlg(const QString &Msg, TMsgDlgType Kind, TMsgDlgButtons Buttons, QWidget *Parent)
{
    if (Answerer())
        return Answerer()(Msg, Kind, Buttons);

    QMessageBox box(IconOf(Kind), AdvMessageTitle(Kind), Msg, QMessageBox::NoButton,
                    Parent ? Parent : QApplication::activeWindow());
    std::vector<std::pair<QAbstractButton *, TModalResult>> results;
    for (const TButtonInfo &info : ButtonInfos) {
        if (!Buttons.testFlag(info.Button))
            continue;
        QPushButton *button = box.addButton(QString::fromLatin1(info.Caption), info.Role);
        results.emplace_back(button, info.Result);
    }
    if (results.empty())
        results.emplace_back(box.addButton(QStringLiteral("Ok"), QMessageBox::AcceptRole), mrOk);
    box.exec();
    for (const auto &[button, result] : results)
        if (box.clickedButton() == button)
            return result;
    // Closed with Escape or the window's close button.
    return Buttons.testFlag(mbCancel) ? mrCancel : mrNone;
}

void SetAdvMessageAnswerer(TAdvMessageAnswerer Answerer_)
{
    Answerer() = std::move(Answerer_);
}
