#pragma once

#include "object.h"

#include <QDomDocument>
#include <QString>
#include <QStringList>

// Owner of one XML document with a fixed root element, read from and written to files in
// ISO-8859-1. Files from elsewhere are untrusted: oversized, deeply nested or DTD-carrying
// documents are refused before the DOM is built, and saving replaces a file atomically.
class TosXMLBaseDOM : public TObject {
public:
    // Files above this size are not parsed.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;
    // Deeper element nesting than this is refused.
    static constexpr int MaxDepth = 32;
    // More elements plus attributes than this are refused: the DOM takes about 750 bytes per
    // node. A module of a few hundred parameters needs some 4000 nodes.
    static constexpr qint64 MaxNodes = 250000;

    TosXMLBaseDOM();
    TosXMLBaseDOM(const TosXMLBaseDOM &) = delete;
    TosXMLBaseDOM &operator=(const TosXMLBaseDOM &) = delete;

    QString RootName() const { return FRootName; }
    // Stores the name and resets the document to the declaration and an empty root.
    void SetRootName(const QString &name);
    QDomDocument &Model() { return FModel; }
    const QDomDocument &Model() const { return FModel; }
    // Why the last load or save failed; empty after a success.
    QString LastError() const { return FLastError; }

    // Writes the document, replacing the file only once it is completely written.
    virtual bool SaveToFile(const QString &path);
    // False and the document unchanged when the file does not exist; otherwise the file's
    // content replaces the document (an empty document when it does not parse).
    virtual bool LoadFromFile(const QString &path);

    // The document as the bytes SaveToFile writes.
    QByteArray ToBytes() const;

protected:
    void ResetDocument();
    void RemoveAllNodes();
    void SetLastError(const QString &text) { FLastError = text; }
    // The order in which the attributes of element are written; attributes not named here
    // follow in name order.
    virtual QStringList AttributeOrder(const QDomElement &element) const;

private:
    bool ParseUntrusted(const QByteArray &data, QDomDocument &doc);
    void WriteElement(QString &out, const QDomElement &element, int level) const;

    QString FRootName = QStringLiteral("Default");
    QDomDocument FModel;
    QString FLastError;
};
