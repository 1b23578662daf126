// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tovik {

// File names reach the editor as text, from the file dialogs, from drops and from the
// command line. Qt decodes a name's bytes as UTF-8 and puts U+FFFD where they are not,
// so a Shift_JIS 東京.mem arrives as "����.mem", which would name another file (or
// none). Such a name is refused rather than opened or written.
class FileNameCheck {
public:
    // The message for a path that Qt could not carry, naming it; empty when the path is
    // fine. A name whose own bytes spell U+FFFD is refused too: the two cannot be told
    // apart.
    static QString Problem(const QString& path);
};

}  // namespace tovik
