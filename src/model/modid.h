#pragma once

#include <QString>

// The module type is the first field of a well-formed identification text (four or more
// fields, split like comma text). False, with an empty type, otherwise.
bool ParseModId(const QString &IdText, QString &ModType);
