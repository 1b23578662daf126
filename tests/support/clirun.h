// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "cli/tovikcli.h"

namespace tovik::test {

// Runs the command line in the test's process; its standard output and error land in
// `out` and `err`. The exit code.
inline int RunCli(const QStringList& arguments, QString& out, QString& err)
{
    out.clear();
    err.clear();
    QTextStream o(&out), e(&err);
    TovikCli cli(o, e);
    const int code = cli.Run(arguments);
    o.flush();
    e.flush();
    return code;
}

}  // namespace tovik::test
