// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

namespace tovik {

// A coordinate as other programs, map sites and people write it in a table:
//
//   35.681236  -12.5  N35.5              decimal degrees
//   35°41′20.5″  N35°41'20.5"  35°41.342′  北緯35度41分20.5秒
//                                        with unit signs: the last number may have a
//                                        decimal part, in its own unit
//   35.41.20.500  35.41.20.4             the device's dotted form DDD.MM.SS.mmm: the
//                                        fourth group is milliseconds, however written
//   35 41 20  35:41:20  35'41'20         groups between blanks, colons or apostrophes
//                                        (the device reads apostrophes as separators)
//
// A hemisphere letter (N, S, E, W, before or after) or 北緯/南緯/東経/西経 may stand in
// place of a sign; south and west are negative. A text that could mean two places is
// ambiguous and has no value: a decimal point after blanks or colons ("35:41:20.5",
// "35 41.34") may be a decimal part or the next group, and a fourth group after blanks or
// colons is taken only with three digits, where milliseconds and a decimal part agree.
class CoordinateText {
public:
    struct Reading {
        std::optional<double> degrees;
        bool ambiguous = false;
    };

    static Reading Read(const QString& text);
};

}  // namespace tovik
