#pragma once

#include <QFlags>
#include <QString>

#include <functional>

class QWidget;

// Kinds of user message; the kind decides the box's title.
enum TMsgDlgType { mkWarning, mkError, mkInformation, mkConfirmation, mkCustom };

enum TMsgDlgBtn {
    mbYes = 0x001,
    mbNo = 0x002,
    mbOK = 0x004,
    mbCancel = 0x008,
    mbAbort = 0x010,
    mbRetry = 0x020,
    mbIgnore = 0x040,
    mbAll = 0x080,
    mbNoToAll = 0x100,
    mbYesToAll = 0x200,
    mbHelp = 0x400,
};
Q_DECLARE_FLAGS(TMsgDlgButtons, TMsgDlgBtn)
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

// Modal results, one per button (Help closes nothing and answers mrNone).
enum TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// Title of a message box of the given kind.
QString AdvMessageTitle(TMsgDlgType Kind);

// English caption of a button, whatever the system language.
QString AdvMessageButtonCaption(TMsgDlgBtn Button);

// Shows a modal message box and returns the modal result of the button pressed.
int AdvMessageDlg(const QString &Msg, TMsgDlgType Kind, TMsgDlgButtons Buttons, QWidget *Parent = nullptr);

// Tests answer message boxes without showing them: while an answerer is set it is asked instead.
using TAdvMessageAnswerer = std::function<int(const QString &Msg, TMsgDlgType Kind, TMsgDlgButtons Buttons)>;
void SetAdvMessageAnswerer(TAdvMessageAnswerer Answerer);
