// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QLabel>

namespace tovik {

// A caption that paints its text and background in colours of its own. Unconfigured it
// looks like ordinary dialog text.
class ColorTextField : public QLabel {
    Q_OBJECT
public:
    explicit ColorTextField(const QString& text = {}, QWidget* parent = nullptr);

    // Both return the field, so that the calls chain. The text colour shows at once,
    // the background at the next repaint.
    ColorTextField* SetTextColor(const QColor& color);
    ColorTextField* SetBackgroundColor(const QColor& color);

    const QColor& TextColor() const { return textColor; }
    const QColor& BackgroundColor() const { return backgroundColor; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor textColor;
    QColor backgroundColor;
};

}  // namespace tovik
