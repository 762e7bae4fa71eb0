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
    QString SelectedFilter;        // the entry of Filter selected first; empty: the first one
    bool ConfirmOverwrite = true;  // a save asks before it replaces an existing file
};

// The file open and save dialogs of the windows. Returns the chosen path, empty when cancelled.
class TFileChooser {
public:
    static QString Choose(const TFileChoice &Choice, QWidget *Parent = nullptr);

    using TAnswerer = std::function<QString(const TFileChoice &Choice)>;
    static void SetAnswerer(TAnswerer Answerer);

    // Qt filter text from alternating descriptions and patterns, "Text|*.par|Text|*.ksv";
    // several patterns of one entry are separated by ";".
    static QString FilterFromPairs(const QString &Pairs);
    // Entry Index (counted from 1) of a Qt filter text; empty when there is none.
    static QString FilterEntry(const QString &Filter, int Index);
};
