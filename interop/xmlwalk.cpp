// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/xmlwalk.h"

#include <QCoreApplication>

#include "interop/exchangeformat.h"
#include "interop/readprogress.h"
#include "interop/warninglist.h"

namespace tovik {

XmlWalk::XmlWalk(const QByteArray& bytes) : bytes(bytes), buffer(&this->bytes)
{
    buffer.open(QIODevice::ReadOnly);
    xml.setDevice(&buffer);
}

Result<void, QString> XmlWalk::OpenRoot(QStringView root, const char* what)
{
    if (!ExchangeFormat::LooksLikeXml(bytes))
        return Failed{ExchangeFormat::NotWhatItSays(bytes, what)};
    while (!xml.atEnd() && !xml.isStartElement()) {
        xml.readNext();
        // A DTD without an internal subset or an external one declares nothing.
        if (xml.isDTD() && (xml.text().contains(u'[') || !xml.dtdSystemId().isEmpty() || !xml.dtdPublicId().isEmpty()))
            return Failed{DtdRefused()};
    }
    if (!xml.isStartElement() || xml.name() != root)
        return Failed{xml.hasError() ? Error(xml) : ExchangeFormat::NotWhatItSays(bytes, what)};
    return {};
}

Result<void, QString> XmlWalk::Finish()
{
    while (!xml.atEnd()) {
        if (!ReadProgress::GoOn())
            xml.raiseError(ReadProgress::Given());
        xml.readNext();
    }
    if (xml.hasError())
        return Failed{Error(xml)};
    return {};
}

void XmlWalk::Inside(QXmlStreamReader& xml, const Visit& visit)
{
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        // A reading given up ends here: its device gives no more, which the reader
        // would take for a document still arriving.
        if (!ReadProgress::GoOn()) {
            xml.raiseError(ReadProgress::Given());
            return;
        }
        xml.readNext();
        if (xml.isEndElement())
            --depth;
        else if (xml.isStartElement() && !visit(xml, depth))
            ++depth;
    }
}

QString XmlWalk::Error(const QXmlStreamReader& xml)
{
    if (xml.error() == QXmlStreamReader::CustomError)
        return xml.errorString();
    QString reason = xml.errorString();
    // Qt's own words, as it words them. Only its UTF-8 decoder reports bad bytes (the
    // others put a replacement character in), and the declared encoding is not to be had
    // here: the reader gives it only on the declaration's token.
    if (reason == QCoreApplication::translate("QXmlStream", "Encountered incorrectly encoded content."))
        reason = QStringLiteral("UTF-8 として読めない文字があります");
    return QStringLiteral("XML として読めません（%1 行 %2 桁: %3）。")
        .arg(xml.lineNumber())
        .arg(xml.columnNumber())
        .arg(WarningList::Cut(reason, 200));
}

QString XmlWalk::DtdRefused()
{
    return QStringLiteral("DTD で実体などを宣言した XML は、安全のため読みません（GPX・KML に DTD は要りません）。");
}

}  // namespace tovik
