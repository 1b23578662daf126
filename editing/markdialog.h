// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tovik {

class Prompter;

// Asks for the one mark number that the batch conversion gives every ticked point.
class MarkDialog : public QDialog {
    Q_OBJECT
public:
    explicit MarkDialog(Prompter& prompter, QWidget* parent = nullptr);

    // The number: shown when the dialog opens, read after it ended with OK.
    unsigned mark = 0;

    // Accepts a whole number from 0 to 25 and ends with OK; otherwise says why and keeps
    // the field's text selected for another try.
    void OnOK();
    QLineEdit& MarkField() { return markEdit; }

protected:
    void showEvent(QShowEvent* event) override;
    void accept() override { OnOK(); }

private:
    Prompter& prompter;
    bool fieldLoaded = false;
    QPushButton okButton;
    QLineEdit markEdit;
    QLabel caption;
};

}  // namespace tovik
