#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace tovik {

// An up-down control beside a text field, its buddy: the arrows (and the Up and Down
// keys in the buddy) step the number in the buddy within a range, without wrapping,
// and write the new number into the buddy.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

    void SetRange(int low, int high);
    // Places the control at the buddy's right edge, taking its own width off the buddy.
    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return buddy; }
    void SetPos(int position);
    // The buddy's number when the buddy holds a whole number within the range; nothing
    // otherwise.
    std::optional<int> GetPos() const;
    void Step(int delta);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int low = 0;
    int high = 100;
    mutable int position = 0;  // follows the buddy whenever it is read
    int pressedHalf = 0;  // 1 upper arrow, -1 lower arrow
    QPointer<QLineEdit> buddy;
};

}  // namespace tovik
