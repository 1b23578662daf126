#include "droppedfiles.h"

#include <QMimeData>
#include <QUrl>

namespace tovik {

QString DroppedFiles::Last(const QMimeData* mime)
{
    QString path;
    if (mime) {
        for (const QUrl& url : mime->urls()) {
            if (url.isLocalFile())
                path = url.toLocalFile();
        }
    }
    return path;
}

}  // namespace tovik
