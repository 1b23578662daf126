// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>

class QDialog;

namespace tovik {

// Dialog units of a dialog font, converted to pixels as Windows converts them: a
// horizontal unit is a quarter of the average width of the letters A-Z and a-z, a
// vertical unit an eighth of the line height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    // The Gothic face every dialog names; TovikApp lets a Japanese face that exists
    // stand in for it.
    static QString FontFamily() { return QStringLiteral("ＭＳ Ｐゴシック"); }

    int X(int units) const;
    int Y(int units) const;
    // A control's rectangle in the template (x, y, width, height) in pixels.
    QRect Rect(int x, int y, int width, int height) const;

    // Gives a fixed-size dialog its title, its font (the dialogs' Gothic face at
    // `pointSize`) and its size in dialog units; the units for placing its controls.
    static DialogUnits SetUpDialog(QDialog& dialog, const QString& title, int pointSize, int width, int height);

    int BaseX() const { return baseX; }
    int BaseY() const { return baseY; }

private:
    int baseX;
    int baseY;
};

}  // namespace tovik
