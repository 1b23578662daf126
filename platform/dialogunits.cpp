// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/dialogunits.h"

#include <QDialog>
#include <QFontMetrics>

namespace tovik {

namespace {
// Multiplies and divides with rounding to the nearest, halves away from zero.
int MulDiv(int value, int numerator, int denominator)
{
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}
}  // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseX = (letters / 26 + 1) / 2;
    baseY = metrics.height();
}

int DialogUnits::X(int units) const { return MulDiv(units, baseX, 4); }
int DialogUnits::Y(int units) const { return MulDiv(units, baseY, 8); }

QRect DialogUnits::Rect(int x, int y, int width, int height) const
{
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

}  // namespace tovik

namespace tovik {

DialogUnits DialogUnits::SetUpDialog(QDialog& dialog, const QString& title, int pointSize, int width, int height)
{
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const QFont font(FontFamily(), pointSize);
    dialog.setFont(font);
    const DialogUnits units(font);
    dialog.setFixedSize(units.Rect(0, 0, width, height).size());
    return units;
}

}  // namespace tovik
