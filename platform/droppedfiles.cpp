// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/droppedfiles.h"

#include <QDropEvent>
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

void DroppedFiles::AcceptIfFile(QDropEvent* event)
{
    if (Last(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

QString DroppedFiles::Take(QDropEvent* event)
{
    AcceptIfFile(event);
    return Last(event->mimeData());
}

}  // namespace tovik
