#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <functional>

class QXmlStreamReader;

namespace tovik {

// What the XML readers (GPX, KML) share: opening the document at its root element and
// walking the elements inside one.
class XmlWalk {
public:
    // Called on each start tag inside the walked element, `depth` 1 for its children;
    // true when it read the element to its end tag, false to walk into it.
    using Visit = std::function<bool(QXmlStreamReader& xml, int depth)>;

    // Reads up to the root's start tag; false, with the message in `error`, when the
    // bytes are no XML or the root is not `root` (the document is then no `what` file).
    static bool OpenRoot(QXmlStreamReader& xml, const QByteArray& bytes, QStringView root, const char* what,
                         QString& error);
    // Walks every element inside the current one, up to its end tag.
    static void Inside(QXmlStreamReader& xml, const Visit& visit);
};

}  // namespace tovik
