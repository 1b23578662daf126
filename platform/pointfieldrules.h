// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tovik {

// What the device can hold in each typed field of a point: its length in CP932 bytes, its
// characters and, for the numeric fields, its form. The edit dialog and the command line's
// add check with the same rules.
class PointFieldRules {
public:
    // In the order in which the edit dialog checks its fields.
    enum Field { name, reading, longitude, mark, latitude, telephone };
    static constexpr int kFieldCount = 6;

    static int Limit(Field field);
    // Longitude, latitude, telephone and mark take digits and separators.
    static bool IsNumeric(Field field);
    // The field's name in messages: the dialog's caption (電話番号 for TEL).
    static QString Caption(Field field);
    // Why the device cannot store `text` in `field` as it is meant, or an empty text.
    static QString Problem(Field field, const QString& text);
};

}  // namespace tovik
