#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// Text rules shared by the readout grammar, the answer splitter and the parameter files.

// A whole number in decimal notation with an optional sign, within the signed 32-bit range.
// Anything else (blanks, hex, fractions, overflow) is not an integer and leaves value untouched.
bool TryStrToInt32(const QString &text, int32_t &value);

// Removes leading and trailing characters with codes up to 32 (blanks and control characters).
QString TrimControl(const QString &text);

// Splits delimited text. A field that begins with a double quote is read up to its closing quote,
// a doubled quote standing for one; the quotes are dropped. Empty fields count, and a trailing
// delimiter gives a final empty field. With blanksSeparate, runs of blanks and control characters
// separate fields as well (and are not part of any unquoted field). Empty text gives no fields.
QStringList SplitFields(const QString &text, QChar delimiter, bool blanksSeparate);

// Splits text at `delimiter` so that blanks inside fields survive: blanks are protected before
// the split, control characters and DEL are dropped, and the blanks come back in every field.
QStringList SplitProtected(const QString &text, QChar delimiter);

// Splits a value list ("ON|OFF|AUTO") into its items; empty text gives an empty list.
QStringList SplitValueList(const QString &text);

// Writes `text` right-aligned so that it ends in the 1-based column `endColumn` of `line`,
// padding the line with blanks as needed. A text too long for its place is moved right so that
// it keeps one blank after the text already on the line (or starts in column 1 on an empty
// line): numbers never merge or overwrite each other.
void PlaceRightAligned(QString &line, const QString &text, int endColumn);
