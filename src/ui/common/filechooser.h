#pragma once

#include <QString>

#include <functional>

class QWidget;

// What a file chooser is asked for; tests answer it without showing a dialog.
struct TFileChoice {
    enum TKind { fcOpen, fcSave } Kind = fcOpen;
    QString Caption;
    QString Dir;           // initial folder
    QString Filter;        // Qt filter text, e.g. "Modulparameter (*.par)"
    QString DefaultSuffix; // added to a saved name without one, e.g. "par"
};

// The file open and save dialogs of the windows. Returns the chosen path, empty when cancelled.
class TFileChooser {
public:
    static QString Choose(const TFileChoice &Choice, QWidget *Parent = nullptr);

    using TAnswerer = std::function<QString(const TFileChoice &Choice)>;
    static void SetAnswerer(TAnswerer Answerer);
};
