// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QXmlStreamReader>
#include <functional>

#include "core/result.h"
#include "interop/reportingbuffer.h"

namespace tovik {

// What the XML readers (GPX, KML) share: a reader over a file's bytes, which it decodes
// a block at a time (never the whole file at once), opened at the root element; walks
// the elements inside one; and the message of an error.
class XmlWalk {
public:
    // Called on each start tag inside the walked element, `depth` 1 for its children;
    // true when it read the element to its end tag, false to walk into it. To stop the
    // walk it raises an error on the reader.
    using Visit = std::function<bool(QXmlStreamReader& xml, int depth)>;

    explicit XmlWalk(const QByteArray& bytes);
    XmlWalk(const XmlWalk&) = delete;
    XmlWalk& operator=(const XmlWalk&) = delete;

    QXmlStreamReader& Reader() { return xml; }

    // Reads up to the root's start tag; fails when the bytes are no XML, the root is not `root` (the document is then no `what` file) or
    // the document has a DTD that declares anything: neither GPX nor KML needs one, an
    // entity of a few kilobytes referenced a hundred thousand times would take gigabytes,
    // and an external one would be left out without a word.
    Result<void, QString> OpenRoot(QStringView root, const char* what);
    // Reads on from the root's end tag to the end of the document; fails when anything
    // but comments, processing instructions or blanks follows, or when the document had
    // an error before.
    Result<void, QString> Finish();
    // Walks every element inside the current one, up to its end tag.
    static void Inside(QXmlStreamReader& xml, const Visit& visit);

    // The message for the reader's error.
    static QString Error(const QXmlStreamReader& xml);
    static QString DtdRefused();

private:
    QByteArray bytes;
    ReportingBuffer buffer;
    QXmlStreamReader xml;
};

}  // namespace tovik
