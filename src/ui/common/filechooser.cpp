#include "filechooser.h"

#include <QApplication>
#include <QFileDialog>

#include <utility>

namespace {

TFileChooser::TAnswerer &Answerer()
{
    static TFileChooser::TAnswerer answerer;
    return answerer;
}

} // namespace

QString TFileChooser::Choose(const TFileChoice &Choice, QWidget *Parent)
{
    if (Answerer())
        return Answerer()(Choice);

    QFileDialog dialog(Parent ? Parent : QApplication::activeWindow(), Choice.Caption, Choice.Dir, Choice.Filter);
    const bool save = Choice.Kind == TFileChoice::fcSave;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(Choice.DefaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void TFileChooser::SetAnswerer(TAnswerer Answerer_)
{
    Answerer() = std::move(Answerer_);
}
