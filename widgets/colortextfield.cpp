// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/colortextfield.h"

#include <QPainter>

namespace tovik {

ColorTextField::ColorTextField(const QString& text, QWidget* parent)
    : QLabel(text, parent),
      textColor(palette().color(QPalette::WindowText)),
      backgroundColor(palette().color(QPalette::Button))
{
}

ColorTextField* ColorTextField::SetTextColor(const QColor& color)
{
    textColor = color;
    repaint();
    return this;
}

ColorTextField* ColorTextField::SetBackgroundColor(const QColor& color)
{
    backgroundColor = color;
    return this;
}

void ColorTextField::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor);
    painter.setPen(textColor);
    painter.drawText(contentsRect(), static_cast<int>(alignment()), text());
}

}  // namespace tovik
