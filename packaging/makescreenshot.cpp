// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the picture of the edit view that the AppStream metainfo shows: the editor's main
// window on a point memory, drawn at its first size by the editor's own code.
//
// Usage: makescreenshot FILE.mem OUT.png

#include <QPixmap>

#include <cstdio>

#include "app/maindialog.h"
#include "core/pointbook.h"
#include "platform/qtprompter.h"
#include "app/tovikapp.h"

int main(int argc, char* argv[])
{
    tovik::TovikApp app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: makescreenshot FILE.mem OUT.png\n");
        return 2;
    }
    tovik::PointBook book;
    tovik::QtPrompter prompter(app.applicationName());
    tovik::MainDialog dialog(book, prompter, QString::fromLocal8Bit(argv[1]));
    dialog.show();
    QApplication::processEvents();
    if (!dialog.grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "makescreenshot: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
