#include "interop/xmlwalk.h"

#include <QXmlStreamReader>

#include "interop/exchangeformat.h"

namespace tovik {

bool XmlWalk::OpenRoot(QXmlStreamReader& xml, const QByteArray& bytes, QStringView root, const char* what,
                       QString& error)
{
    if (!ExchangeFormat::LooksLikeXml(bytes)) {
        error = ExchangeFormat::NotWhatItSays(bytes, what);
        return false;
    }
    if (!xml.readNextStartElement() || xml.name() != root) {
        error = xml.hasError() ? ExchangeFormat::XmlError(xml) : ExchangeFormat::NotWhatItSays(bytes, what);
        return false;
    }
    return true;
}

void XmlWalk::Inside(QXmlStreamReader& xml, const Visit& visit)
{
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            --depth;
        else if (xml.isStartElement() && !visit(xml, depth))
            ++depth;
    }
}

}  // namespace tovik
