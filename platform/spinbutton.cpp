#include "spinbutton.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include "validation.h"

namespace tovik {

SpinButton::SpinButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void SpinButton::SetRange(int newLow, int newHigh)
{
    low = newLow;
    high = newHigh;
    position = std::clamp(position, std::min(low, high), std::max(low, high));
}

void SpinButton::SetBuddy(QLineEdit* newBuddy)
{
    if (buddy)
        buddy->removeEventFilter(this);
    buddy = newBuddy;
    if (!buddy)
        return;
    buddy->installEventFilter(this);
    QRect field = buddy->geometry();
    const int w = width();
    field.setWidth(std::max(field.width() - w, 0));
    buddy->setGeometry(field);
    setGeometry(field.x() + field.width(), field.y(), w, field.height());
}

void SpinButton::SetPos(int newPosition)
{
    position = std::clamp(newPosition, low, high);
    if (buddy)
        buddy->setText(QString::number(position));
}

std::optional<int> SpinButton::GetPos() const
{
    if (!buddy)
        return position;
    const auto value = Validation::ParseInteger(buddy->text());
    if (!value || *value < low || *value > high)
        return std::nullopt;
    position = static_cast<int>(*value);
    return position;
}

void SpinButton::Step(int delta)
{
    // The buddy's number is the starting point when it holds one in range, the last
    // good position otherwise.
    GetPos();
    SetPos(position + delta);
}

QSize SpinButton::sizeHint() const { return QSize(16, 22); }

void SpinButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int half = height() / 2;
    const QRect halves[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        QStyleOptionButton panel;
        panel.initFrom(this);
        panel.rect = halves[i];
        if (pressedHalf == (i == 0 ? 1 : -1))
            panel.state |= QStyle::State_Sunken;
        else
            panel.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &panel, &painter, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = halves[i].adjusted(2, 1, -2, -1);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown,
                               &arrow, &painter, this);
    }
}

void SpinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressedHalf = event->position().y() < height() / 2.0 ? 1 : -1;
    Step(pressedHalf);
    update();
    pressedHalf = 0;
    update();
}

bool SpinButton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tovik
