// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace tovik {

// The field checks of dialog data exchange, with the messages the user reads when a
// field is refused.
class Validation {
public:
    static QString IntegerRequired();                 // 整数を入力してください。
    static QString PositiveIntegerRequired();         // 正の整数を入力してください。
    static QString IntegerRange(int low, int high);   // %1 から %2 までの整数を入力してください。
    static QString MaxChars(int limit);               // %1 文字以内で入力してください。

    // Blanks and tabs around one decimal number with an optional sign; nothing else.
    static std::optional<long long> ParseInteger(const QString& text);
    // An unsigned field as dialog data exchange reads it: blanks and tabs, then what strtoul
    // reads (a plus sign allowed, a minus sign refused, a value too large for 32 bits taken
    // as the largest), then only blanks and tabs. A value of 0 must be written with the
    // digit 0 first.
    static std::optional<unsigned long long> ParseUnsigned(const QString& text);
};

}  // namespace tovik
