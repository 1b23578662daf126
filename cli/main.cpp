// SPDX-License-Identifier: GPL-3.0-or-later
#include <QCoreApplication>
#include <QTextStream>

#include "cli/clitext.h"
#include "cli/tovikcli.h"

int main(int argc, char* argv[])
{
    // From argv itself, before Qt sees it: QCoreApplication::arguments() replaces the
    // bytes of a file name that is not UTF-8 and so names another file.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << tovik::CliText::FromArgument(argv[i]);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    tovik::TovikCli cli(out, err);
    return cli.Run(arguments);
}
