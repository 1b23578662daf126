// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tovik {

class TovikCli;

// tovik-cli duplicates FILE [--within METRES] [--json] [--device-datum D]: the groups of
// points of FILE that are one place twice, one group a line or as a JSON array.
class DuplicatesVerb {
public:
    static int Run(TovikCli& cli, const QStringList& arguments);
};

}  // namespace tovik
