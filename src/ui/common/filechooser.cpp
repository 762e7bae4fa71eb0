#include "filechooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

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
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !Choice.ConfirmOverwrite);
    if (!Choice.SelectedFilter.isEmpty())
        dialog.selectNameFilter(Choice.SelectedFilter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void TFileChooser::SetAnswerer(TAnswerer Answerer_)
{
    Answerer() = std::move(Answerer_);
}

QString TFileChooser::FilterFromPairs(const QString &Pairs)
{
    const QStringList parts = Pairs.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = QLatin1Char('(') + parts[i + 1].split(QLatin1Char(';')).join(QLatin1Char(' ')) + QLatin1Char(')');
        // A description that already names its patterns is taken as it is.
        entries << (description.endsWith(patterns) ? description : description + QLatin1Char(' ') + patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

QString TFileChooser::FilterEntry(const QString &Filter, int Index)
{
    return Index >= 1 ? Filter.split(QStringLiteral(";;")).value(Index - 1) : QString();
}
