#pragma once

#include <QLocale>

// Sets the default locale for one test and restores the previous one afterwards.
class TLocaleGuard {
public:
    explicit TLocaleGuard(const QLocale &locale) { QLocale::setDefault(locale); }
    ~TLocaleGuard() { QLocale::setDefault(FSaved); }

private:
    QLocale FSaved;
};
