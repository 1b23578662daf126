// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tovik {

class TovikCli;

// tovik-cli sort FILE --by reading|name|mark|distance [--from N] [--device-datum D]:
// puts the points of FILE in order and saves it, locked from the read to the save as add is.
class SortVerb {
public:
    static int Run(TovikCli& cli, const QStringList& arguments);
};

}  // namespace tovik
