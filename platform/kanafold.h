// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tovik {

// The form in which find and the duplicate check compare texts, so that what a Japanese
// user reads as the same word is the same: 「とうきょう」, 「トウキョウ」 and 「ﾄｳｷｮｳ」 are
// one, as are 「ＡＢＣ１」 and 「abc1」.
//
// Folded: half-width katakana to full-width (with ﾞ and ﾟ joined to their letter), hiragana
// to katakana, full-width Latin letters, digits and signs to ASCII, case, the small ヵ and
// ヶ of place names (八ヶ岳, 霞ヶ関) to カ and ケ, and the stand-alone ゛ ゜ to the marks on
// the letter before. Dropped: blanks of every width and the middle dot ・. Kept apart:
// voiced and semi-voiced letters from plain ones (が is not か, パ is not ハ), other small
// letters from large ones (キャ is not キヤ), the long-vowel mark ー from hyphens.
class KanaFold {
public:
    static QString Fold(const QString& text);
};

}  // namespace tovik
