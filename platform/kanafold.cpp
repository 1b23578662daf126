// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/kanafold.h"

namespace tovik {

namespace {

constexpr char16_t kHiraganaFirst = 0x3041;  // ぁ
constexpr char16_t kHiraganaLast = 0x3096;   // ゖ
constexpr char16_t kHiraganaIterationFirst = 0x309D;  // ゝ
constexpr char16_t kHiraganaIterationLast = 0x309E;   // ゞ
constexpr char16_t kKatakanaOffset = 0x60;
constexpr char16_t kMiddleDot = 0x30FB;

// Characters compatibility normalisation leaves alone but a user means as another:
// the spacing sound marks as the combining ones (so that か゛ composes to ガ), the small
// ヵ ヶ as the letters they stand for, and the wave dash and minus an input method types
// as the device's ～ and －.
char16_t Meant(char16_t c)
{
    switch (c) {
    case 0x309B: return 0x3099;  // ゛
    case 0x309C: return 0x309A;  // ゜
    case 0x30F5: return 0x30AB;  // ヵ
    case 0x30F6: return 0x30B1;  // ヶ
    case 0x3095: return 0x304B;  // ゕ
    case 0x3096: return 0x3051;  // ゖ
    case 0x301C: return 0xFF5E;  // 〜
    case 0x2212: return 0xFF0D;  // −
    default: return c;
    }
}

}  // namespace

QString KanaFold::Fold(const QString& text)
{
    QString meant = text;
    for (QChar& c : meant)
        c = QChar(Meant(c.unicode()));
    // NFKC makes half-width katakana full-width and joins ﾞ ﾟ to their letter, and makes
    // full-width ASCII plain.
    const QString compatible = meant.normalized(QString::NormalizationForm_KC);
    QString folded;
    folded.reserve(compatible.size());
    for (const QChar c : compatible) {
        const char16_t u = c.unicode();
        if (c.isSpace() || u == kMiddleDot)
            continue;
        const bool hiragana = (u >= kHiraganaFirst && u <= kHiraganaLast) ||
                              (u >= kHiraganaIterationFirst && u <= kHiraganaIterationLast);
        folded += hiragana ? QChar(static_cast<char16_t>(u + kKatakanaOffset)) : c;
    }
    return folded.toCaseFolded();
}

}  // namespace tovik
