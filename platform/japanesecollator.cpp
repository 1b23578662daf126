// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/japanesecollator.h"

#include <QLocale>

namespace tovik {

namespace {

// U+FF61 to U+FF9F: half-width katakana with their signs and sound marks.
bool IsHalfWidthKana(QChar c) { return c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F; }

// NFKC of the half-width runs only: it joins ﾞ and ﾟ to their letter, and leaves the
// rest of the text, full-width Latin included, as it was.
QString FullWidthKana(QStringView text)
{
    QString full;
    full.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        qsizetype end = i;
        while (end < text.size() && IsHalfWidthKana(text[end]))
            ++end;
        if (end > i) {
            full += text.mid(i, end - i).toString().normalized(QString::NormalizationForm_KC);
            i = end;
        } else {
            full += text[i++];
        }
    }
    return full;
}

}  // namespace

JapaneseCollator::JapaneseCollator() : collator(QLocale(QLocale::Japanese))
{
    collator.setNumericMode(true);
}

int JapaneseCollator::Compare(QStringView a, QStringView b) const
{
    return collator.compare(FullWidthKana(a), FullWidthKana(b));
}

}  // namespace tovik
