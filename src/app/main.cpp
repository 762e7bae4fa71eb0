#include "ksvversion.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

// Minimal main window until the full window with its pages is built.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("KSV500 %1").arg(QStringLiteral(KSV500_VERSION)));
    auto *label = new QLabel(QStringLiteral("KSV500 - the main window is not built yet."), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(800, 600);
    window.show();
    return app.exec();
}
