// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/spinbutton.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include "platform/validation.h"

namespace tovik {

namespace {

// The up-down control as the accessibility bus sees it: a spin button with the buddy's
// value, its range, and actions that step it.
class AccessibleSpinButton : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleSpinButton(SpinButton* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) {
            const auto value = Spin()->GetPos();
            return value ? QString::number(*value) : QString();
        }
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override
    {
        const auto value = Spin()->GetPos();
        return value ? QVariant(*value) : QVariant();
    }
    void setCurrentValue(const QVariant& value) override { Spin()->SetPos(value.toInt()); }
    QVariant maximumValue() const override { return Spin()->High(); }
    QVariant minimumValue() const override { return Spin()->Low(); }
    QVariant minimumStepSize() const override { return 1; }

    QStringList actionNames() const override
    {
        return {increaseAction(), decreaseAction()};
    }
    void doAction(const QString& name) override
    {
        if (name == increaseAction())
            Spin()->Step(1);
        else if (name == decreaseAction())
            Spin()->Step(-1);
    }

private:
    SpinButton* Spin() const { return static_cast<SpinButton*>(widget()); }
};

QAccessibleInterface* SpinButtonFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("tovik::SpinButton") && object && object->isWidgetType())
        return new AccessibleSpinButton(static_cast<SpinButton*>(object));
    return nullptr;
}

}  // namespace

SpinButton::SpinButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    connect(&repeat, &QTimer::timeout, this, &SpinButton::Repeat);
    InstallAccessibility();
}

void SpinButton::InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(SpinButtonFactory);
        return true;
    }();
    (void)installed;
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
    QAccessibleValueChangeEvent changed(this, position);
    QAccessible::updateAccessibility(&changed);
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
    // Held down, the arrow steps again after the platform's delay, then at its rate.
    repeat.start(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatThreshold, nullptr, this));
}

void SpinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    repeat.stop();
    pressedHalf = 0;
    update();
}

void SpinButton::Repeat()
{
    if (pressedHalf == 0 || !isVisible()) {
        repeat.stop();
        return;
    }
    Step(pressedHalf);
    repeat.start(style()->styleHint(QStyle::SH_SpinBox_ClickAutoRepeatRate, nullptr, this));
}

bool SpinButton::StepForKey(int key)
{
    switch (key) {
    case Qt::Key_Up:
        Step(1);
        return true;
    case Qt::Key_Down:
        Step(-1);
        return true;
    case Qt::Key_PageUp:
        Step(kPageStep);
        return true;
    case Qt::Key_PageDown:
        Step(-kPageStep);
        return true;
    default:
        return false;
    }
}

void SpinButton::keyPressEvent(QKeyEvent* event)
{
    if (!StepForKey(event->key()))
        QWidget::keyPressEvent(event);
}

bool SpinButton::eventFilter(QObject* watched, QEvent* event)
{
    // Keys the system repeats while held arrive as repeated presses, each a step.
    if (watched == buddy && event->type() == QEvent::KeyPress &&
        (static_cast<QKeyEvent*>(event)->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
        StepForKey(static_cast<QKeyEvent*>(event)->key()))
        return true;
    return QWidget::eventFilter(watched, event);
}

}  // namespace tovik
