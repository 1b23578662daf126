// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tovik {

class TovikCli;

// tovik-cli import OUT.mem IN... [--format F] [--device-datum D] [--mark N] [--append]
// [--force]: reads the points of every IN into OUT.mem, all or none of them.
class ImportVerb {
public:
    static int Run(TovikCli& cli, const QStringList& arguments);
};

}  // namespace tovik
