#include "osxmlbasedom.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

const QString Indent = QStringLiteral("  ");

// Characters that XML 1.0 does not allow at all.
bool IsXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// Escapes text for an attribute value (inAttribute) or element content. Characters beyond
// Latin-1 become character references so that the ISO-8859-1 file keeps them; characters XML
// cannot carry are dropped.
QString Escape(const QString &text, bool inAttribute)
{
    QString out;
    out.reserve(text.size());
    for (char32_t c : text.toUcs4()) {
        switch (c) {
        case U'&': out += QStringLiteral("&amp;"); continue;
        case U'<': out += QStringLiteral("&lt;"); continue;
        case U'>': out += QStringLiteral("&gt;"); continue;
        default: break;
        }
        if (!IsXmlChar(c))
            continue;
        if (inAttribute && (c == U'"' || c == U'\t' || c == U'\n' || c == U'\r')) {
            // Attribute-value normalisation would turn raw tabs and line breaks into blanks.
            out += c == U'"' ? QStringLiteral("&quot;") : QStringLiteral("&#%1;").arg(uint(c));
        } else if (c > 0xFF) {
            out += QStringLiteral("&#%1;").arg(uint(c));
        } else {
            out += QChar(char16_t(c));
        }
    }
    return out;
}

QStringList OrderedAttributeNames(const QDomElement &element, const QStringList &order)
{
    const QDomNamedNodeMap attributes = element.attributes();
    QStringList rest;
    for (int i = 0; i < attributes.count(); ++i) {
        const QString name = attributes.item(i).nodeName();
        if (!order.contains(name))
            rest << name;
    }
    std::sort(rest.begin(), rest.end());
    QStringList names;
    for (const QString &name : order)
        if (element.hasAttribute(name))
            names << name;
    return names + rest;
}

} // namespace

TosXMLBaseDOM::TosXMLBaseDOM()
{
    ResetDocument();
}

void TosXMLBaseDOM::SetRootName(const QString &name)
{
    FRootName = name;
    ResetDocument();
}

void TosXMLBaseDOM::RemoveAllNodes()
{
    while (!FModel.firstChild().isNull())
        FModel.removeChild(FModel.firstChild());
}

void TosXMLBaseDOM::ResetDocument()
{
    RemoveAllNodes();
    FModel.appendChild(
        FModel.createProcessingInstruction(QStringLiteral("xml"), QStringLiteral("version=\"1.0\" encoding=\"ISO-8859-1\"")));
    QDomElement root = FModel.createElement(FRootName);
    root.setAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    FModel.appendChild(root);
}

QStringList TosXMLBaseDOM::AttributeOrder(const QDomElement &) const
{
    return {};
}

void TosXMLBaseDOM::WriteElement(QString &out, const QDomElement &element, int level) const
{
    const QString indent = Indent.repeated(level);
    out += indent + u'<' + element.tagName();
    for (const QString &name : OrderedAttributeNames(element, AttributeOrder(element)))
        out += u' ' + name + QStringLiteral("=\"") + Escape(element.attribute(name), true) + u'"';
    bool hasChildren = false;
    for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        const bool isText = child.isText() || child.isCDATASection();
        const QString text = isText ? child.nodeValue().trimmed() : QString();
        // Comments, processing instructions and white space between elements are not kept.
        if (!child.isElement() && text.isEmpty())
            continue;
        if (!hasChildren)
            out += QStringLiteral(">\n");
        hasChildren = true;
        if (child.isElement())
            WriteElement(out, child.toElement(), level + 1);
        else
            out += indent + Indent + Escape(text, false) + u'\n';
    }
    out += hasChildren ? indent + QStringLiteral("</") + element.tagName() + QStringLiteral(">\n") : QStringLiteral("/>\n");
}

QByteArray TosXMLBaseDOM::ToBytes() const
{
    QString text = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n");
    const QDomElement root = FModel.documentElement();
    if (!root.isNull())
        WriteElement(text, root, 0);
    QByteArray bytes;
    QTextStream stream(&bytes, QIODevice::WriteOnly);
    stream.setEncoding(QStringConverter::Latin1);
    stream << text;
    stream.flush();
    return bytes;
}

bool TosXMLBaseDOM::SaveToFile(const QString &path)
{
    FLastError.clear();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        FLastError = file.errorString();
        return false;
    }
    const QByteArray bytes = ToBytes();
    if (file.write(bytes) != bytes.size()) {
        FLastError = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        FLastError = file.errorString();
        return false;
    }
    return true;
}

bool TosXMLBaseDOM::LoadFromFile(const QString &path)
{
    FLastError.clear();
    const QFileInfo info(path);
    if (!info.exists()) {
        FLastError = QStringLiteral("File not found");
        return false;
    }
    QByteArray data;
    if (!info.isFile()) {
        FLastError = QStringLiteral("Not a regular file");
    } else if (info.size() > MaxFileSize) {
        FLastError = QStringLiteral("File too large");
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            FLastError = file.errorString();
        else if (data = file.read(MaxFileSize + 1); data.size() > MaxFileSize)
            FLastError = QStringLiteral("File too large");
    }
    QDomDocument doc;
    if (!FLastError.isEmpty() || !ParseUntrusted(data, doc)) {
        RemoveAllNodes();
        return false;
    }
    FModel = doc;
    return true;
}

// A first pass with the stream reader enforces the limits, so the DOM is only ever built from
// documents of bounded size and depth without a DTD (no entity expansion at all).
bool TosXMLBaseDOM::ParseUntrusted(const QByteArray &data, QDomDocument &doc)
{
    QXmlStreamReader reader(data);
    int depth = 0;
    qint64 nodes = 0;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            FLastError = QStringLiteral("Document type declarations are not accepted");
            return false;
        case QXmlStreamReader::EntityReference:
            FLastError = QStringLiteral("Entity references are not accepted");
            return false;
        case QXmlStreamReader::StartElement:
            nodes += 1 + reader.attributes().size();
            if (++depth > MaxDepth) {
                FLastError = QStringLiteral("Elements nested too deeply");
                return false;
            }
            if (nodes > MaxNodes) {
                FLastError = QStringLiteral("Too many elements and attributes");
                return false;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        FLastError = QStringLiteral("%1 (line %2, column %3)")
                         .arg(reader.errorString())
                         .arg(reader.lineNumber())
                         .arg(reader.columnNumber());
        return false;
    }
    QString message;
    int line = 0;
    int column = 0;
    if (!doc.setContent(data, false, &message, &line, &column)) {
        FLastError = QStringLiteral("%1 (line %2, column %3)").arg(message).arg(line).arg(column);
        return false;
    }
    return true;
}
