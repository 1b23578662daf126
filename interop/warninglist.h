// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace tovik {

// The warnings of one import: the first kLimit in full and the rest only counted, so
// that a file of a million faults neither fills the memory nor floods the screen. A
// text taken from a file appears in a message only through Quote, cut short.
class WarningList {
public:
    static constexpr qsizetype kLimit = 1000;
    // Characters of a quoted text before it is cut.
    static constexpr qsizetype kQuotedChars = 40;

    // Once the list is Full the warning is only counted, and may be left empty.
    void Add(const QString& warning);
    void Append(const WarningList& other);
    // All warnings, those only counted included.
    qsizetype Count() const { return count; }
    bool IsEmpty() const { return count == 0; }
    // True once further warnings are only counted: a caller may skip writing them.
    bool Full() const { return count >= kLimit; }
    // The first `shown` warnings, then "ほか N 件" for the rest.
    QStringList Lines(qsizetype shown = kLimit) const;

    // A text from a file as messages show it: in 「」 and cut (see Cut).
    static QString Quote(QStringView text);
    // The first `chars` characters and "…" when there are more. A message stays one
    // line that does what it says: each run of blanks holding a line break shows as "↵",
    // one holding a tab as a space, and any other control character as U+FFFD.
    static QString Cut(QStringView text, qsizetype chars = kQuotedChars);

private:
    QStringList kept;
    qsizetype count = 0;
};

}  // namespace tovik
