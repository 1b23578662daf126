// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <optional>

namespace tovik {

// An up-down control beside a text field, its buddy: the arrows (and the Up and Down
// keys in the buddy) step the number in the buddy within a range, without wrapping,
// and write the new number into the buddy. An arrow held down repeats at the platform's
// delay and rate; Page Up and Page Down step by five. Screen readers see a spin button
// named after its field, with its value, range and increase and decrease actions.
class SpinButton : public QWidget {
    Q_OBJECT
public:
    explicit SpinButton(QWidget* parent = nullptr);

    void SetRange(int low, int high);
    // Places the control at the buddy's right edge, taking its own width off the buddy.
    void SetBuddy(QLineEdit* buddy);
    QLineEdit* Buddy() const { return buddy; }
    void SetPos(int position);
    int Low() const { return low; }
    int High() const { return high; }
    // The buddy's number when the buddy holds a whole number within the range; nothing
    // otherwise.
    std::optional<int> GetPos() const;
    void Step(int delta);
    static constexpr int kPageStep = 5;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Makes screen readers see every SpinButton as a spin button.
    static void InstallAccessibility();
    // Steps for a key of the buddy or the control; false for other keys.
    bool StepForKey(int key);
    void Repeat();

    int low = 0;
    int high = 100;
    mutable int position = 0;  // follows the buddy whenever it is read
    int pressedHalf = 0;  // 1 upper arrow, -1 lower arrow, while the button is held
    QTimer repeat;
    QPointer<QLineEdit> buddy;
};

}  // namespace tovik
