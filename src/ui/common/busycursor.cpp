#include "busycursor.h"

#include <QApplication>

TBusyCursor::TBusyCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

TBusyCursor::~TBusyCursor()
{
    Restore();
}

void TBusyCursor::Restore()
{
    if (!FActive)
        return;
    FActive = false;
    QApplication::restoreOverrideCursor();
}
