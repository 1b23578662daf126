// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/warninglist.h"

#include <algorithm>

namespace tovik {

namespace {

// Characters that would break a message's line, move the terminal's cursor or turn the
// text around it: C0 and C1 controls, DEL, bidirectional embeddings and isolates.
bool IsControl(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

bool IsLineBreak(char16_t c) { return (c >= 0x0A && c <= 0x0D) || c == 0x85 || c == 0x2028 || c == 0x2029; }

}  // namespace

void WarningList::Add(const QString& warning)
{
    if (count++ < kLimit)
        kept << warning;
}

void WarningList::Append(const WarningList& other)
{
    for (const QString& warning : other.kept)
        Add(warning);
    count += other.count - other.kept.size();
}

QStringList WarningList::Lines(qsizetype shown) const
{
    shown = std::min(shown, kept.size());
    QStringList lines = kept.mid(0, shown);
    if (count > shown)
        lines << QStringLiteral("ほか %1 件").arg(count - shown);
    return lines;
}

QString WarningList::Quote(QStringView text) { return u'「' + Cut(text) + u'」'; }

QString WarningList::Cut(QStringView text, qsizetype chars)
{
    QString cut;
    qsizetype shown = 0;
    qsizetype i = 0;
    while (i < text.size() && shown < chars) {
        const QChar c = text[i];
        if (c.isSpace()) {
            // Each run of blanks is looked at once, however long.
            qsizetype end = i;
            bool lineBreak = false, control = false;
            for (; end < text.size() && text[end].isSpace(); ++end) {
                lineBreak = lineBreak || IsLineBreak(text[end].unicode());
                control = control || IsControl(text[end].unicode());
            }
            const qsizetype taken = lineBreak || control ? end - i : std::min(end - i, chars - shown);
            if (lineBreak)
                cut += u'↵';
            else if (control)
                cut += u' ';
            else
                cut += text.sliced(i, taken);
            shown += lineBreak || control ? 1 : taken;
            i += taken;
        } else if (IsControl(c.unicode())) {
            cut += QChar(QChar::ReplacementCharacter);
            ++shown;
            ++i;
        } else {
            // A character outside the BMP is one character of two UTF-16 units.
            const qsizetype n = c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
            cut += text.sliced(i, n);
            ++shown;
            i += n;
        }
    }
    if (i < text.size())
        cut += u'…';
    return cut;
}

}  // namespace tovik
