// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace tovik {

// How the command line's bytes become text and text goes back to the terminal.
//
// File names on these systems are bytes, not always UTF-8 (a Shift_JIS 東京.mem is
// 93 8C 8B 9E 2E 6D 65 6D). An argument is decoded as UTF-8 with every byte that is not
// part of a valid sequence kept as a lone surrogate U+DC80..U+DCFF, so that the path
// given is exactly the path opened, and never one that a replacement character makes.
class CliText {
public:
    static QString FromArgument(std::string_view bytes);
    // The bytes of an argument that FromArgument gave, for the file functions.
    static std::string ToPath(const QString& argument);
    // Text safe to print on a terminal: control characters (C0, DEL, C1) are written as
    // \n, \r, \t or \xNN, and bytes that were not UTF-8 as \xNN, so that a name never
    // breaks a line in two or sends an escape sequence.
    static QString Printable(const QString& text);
};

}  // namespace tovik
