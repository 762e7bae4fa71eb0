#include "ctloptions.h"
#include "ksvctl.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ksvctl"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    TCtlOptions options;
    QString error;
    if (!TCtlOptions::Parse(app.arguments().mid(1), options, error)) {
        err << "ksvctl: " << error << '\n' << TCtlOptions::Usage();
        return TKsvCtl::ecUsage;
    }
    int code = TKsvCtl::ecOk;
    {
        TKsvCtl ctl(options, out, err);
        code = ctl.Run();
    }
    out.flush();
    err.flush();
    return code;
}
