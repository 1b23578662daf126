// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCollator>
#include <QStringView>

namespace tovik {

// Texts in Japanese dictionary order, by ICU's Japanese collation (Qt's QCollator is ICU's
// collator on these systems): first by the letters' sounds alone, so that full- and
// half-width kana, hiragana and katakana, voiced and plain, small and large letters are one
// letter, and ー is the vowel it lengthens (カード as カアド); then plain before voiced
// before semi-voiced (はは, ばば, ぱぱ); then small before large (しょう, しよう); then the kinds of
// letters. Signs, digits and Latin letters come before kana, kanji after, and numbers in a
// text by their value (ﾙｰﾄ2 before ﾙｰﾄ10).
//
// ICU's Japanese rules give the long-vowel mark its vowel only as the full-width ー: the
// half-width ｰ of the device's readings would sort before every kana (ｽｰﾊﾟｰ before ｽｲｶ).
// Texts are therefore compared with their half-width katakana made full-width.
class JapaneseCollator {
public:
    JapaneseCollator();
    // Below 0, 0 or above 0 as `a` comes before, with or after `b`.
    int Compare(QStringView a, QStringView b) const;

private:
    QCollator collator;
};

}  // namespace tovik
