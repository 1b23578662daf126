// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tovikapp.h"

#include <QFont>
#include <QLibraryInfo>

#include "app/maindialog.h"
#include "platform/dialogunits.h"
#include "platform/qtprompter.h"

namespace tovik {

TovikApp::TovikApp(int& argc, char** argv) : QApplication(argc, argv)
{
    // The settings are kept under this organisation and name.
    setOrganizationName(QStringLiteral("Tovik"));
    setApplicationName(QStringLiteral("Tovik"));
    setApplicationVersion(QStringLiteral(TOVIK_VERSION));
    // Lets the desktop match the window to the installed entry, its name and icon.
    setDesktopFileName(QStringLiteral(TOVIK_APP_ID));
    if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(&qtTranslator);
    // The dialogs name a Windows font; a Japanese Gothic face that exists stands in.
    QFont::insertSubstitutions(DialogUnits::FontFamily(),
                               {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP"),
                                QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic")});
}

QString TovikApp::CommandLineFile(const QStringList& arguments)
{
    // Only a hyphen marks an option here: on these systems a slash begins a path.
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(u'-'))
            return arguments[i];
    }
    return {};
}

int TovikApp::InitInstance()
{
    QtPrompter prompter(applicationName());
    MainDialog dialog(book, prompter, CommandLineFile(arguments()));
    dialog.exec();
    return 0;
}

}  // namespace tovik
