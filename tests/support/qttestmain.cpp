// SPDX-License-Identifier: GPL-3.0-or-later
// GoogleTest main for tests that need a QApplication: headless unless a platform is set.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The editor also looks for its mark icons in the desktop's data folders: the tests see
    // only what they put there themselves, never an installed Tovik's.
    const QTemporaryDir noData;
    qputenv("XDG_DATA_HOME", QFile::encodeName(noData.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(noData.path()));
    // Settings go where the program keeps them, in a folder of the tests' own.
    const QTemporaryDir noConfig;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(noConfig.path()));
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tovik"));
    QApplication::setApplicationName(QStringLiteral("Tovik"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
