// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace tovik {

// Where the editor looks for a data file such as a mark icon, in this order:
//   1. the current folder, so that a user's own files win;
//   2. the folder of the running program (the build tree keeps its data there);
//   3. the data folder installed with the program, found relative to the program, so that
//      an installation under any prefix works without a path compiled in;
//   4. the "tovik" folder in each of the desktop's data folders (XDG_DATA_HOME, then
//      XDG_DATA_DIRS), as QStandardPaths lists them.
// Folders that do not exist are left out; each folder appears once.
class DataFolders {
public:
    static QStringList Search();
};

}  // namespace tovik
