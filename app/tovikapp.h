// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QTranslator>

#include "core/pointbook.h"

namespace tovik {

// The application: Japanese standard dialogs, the dialog font, the edited point book
// and the main window, run until it closes.
class TovikApp : public QApplication {
    Q_OBJECT
public:
    TovikApp(int& argc, char** argv);

    int InitInstance();
    // The first argument that is not an option names the file to open.
    static QString CommandLineFile(const QStringList& arguments);

private:
    QTranslator qtTranslator;
    PointBook book;
};

}  // namespace tovik
