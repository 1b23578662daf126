// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tovik {

class TovikCli;

// tovik-cli export IN OUT [--format F] [--device-datum D] [--encoding E]: writes the
// points of IN to an exchange file, or to standard output when OUT is "-".
class ExportVerb {
public:
    static int Run(TovikCli& cli, const QStringList& arguments);
};

}  // namespace tovik
