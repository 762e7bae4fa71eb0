#include "modtext.h"

#include <limits>

namespace {

const QString BlankMark = QStringLiteral("~*~*");

bool IsBlankOrControl(QChar c)
{
    return c.unicode() <= 32;
}

} // namespace

bool TryStrToInt32(const QString &text, int32_t &value)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size())
        return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return false;
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<int32_t>::max())
        return false;
    value = int32_t(result);
    return true;
}

QString TrimControl(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsBlankOrControl(text[first]))
        ++first;
    while (last > first && IsBlankOrControl(text[last - 1]))
        --last;
    return text.mid(first, last - first);
}

QStringList SplitFields(const QString &text, QChar delimiter, bool blanksSeparate)
{
    QStringList fields;
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto endsField = [&](QChar c) {
        return c == delimiter || (blanksSeparate && IsBlankOrControl(c));
    };
    auto skipBlanks = [&] {
        while (blanksSeparate && i < n && IsBlankOrControl(text[i]))
            ++i;
    };
    if (n == 0)
        return fields;
    for (;;) {
        QString field;
        if (text[i] == u'"') {
            for (++i; i < n; ++i) {
                if (text[i] == u'"') {
                    if (i + 1 < n && text[i + 1] == u'"') {
                        field += u'"';
                        ++i;
                    } else {
                        ++i;
                        break;
                    }
                } else {
                    field += text[i];
                }
            }
        }
        // Unquoted text, or text following a closing quote, belongs to the same field.
        while (i < n && !endsField(text[i]))
            field += text[i++];
        fields << field;
        skipBlanks();
        if (i >= n)
            break;
        if (text[i] == delimiter) {
            ++i;
            skipBlanks();
            if (i >= n) {
                fields << QString();
                break;
            }
        }
    }
    return fields;
}

QStringList SplitProtected(const QString &text, QChar delimiter)
{
    QString protectedText = text;
    protectedText.replace(u' ', BlankMark);
    protectedText.removeIf([](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
    QStringList fields = SplitFields(protectedText, delimiter, false);
    for (QString &field : fields)
        field.replace(BlankMark, QStringLiteral(" "));
    return fields;
}

QStringList SplitValueList(const QString &text)
{
    return SplitProtected(TrimControl(text), u'|');
}

void PlaceRightAligned(QString &line, const QString &text, int endColumn)
{
    qsizetype used = line.size();
    while (used > 0 && line[used - 1] == u' ')
        --used;
    const qsizetype earliestStart = used > 0 ? used + 1 : 0;
    const qsizetype start = qMax<qsizetype>(endColumn - text.size(), earliestStart);
    if (line.size() < start + text.size())
        line = line.leftJustified(start + text.size(), u' ');
    line.replace(start, text.size(), text);
}
