// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "widgets/colortextfield.h"
#include "platform/spinbutton.h"

namespace tovik {

class Prompter;

// The dialog in which the user edits the six texts of one point. It shows, limits and
// returns texts; it knows nothing of the point book or the lists.
class PointEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit PointEditDialog(Prompter& prompter, QWidget* parent = nullptr);

    // The texts: set before the dialog runs, read after it ended with OK.
    QString name;
    QString reading;
    QString longitude;
    QString mark;
    QString latitude;
    QString telephone;
    int distanceIndex = -1;

    // Puts the texts into the fields; the dialog does this once, when it first opens, so
    // that hiding and showing it again (minimising and restoring) keeps what was typed.
    void LoadFields();
    // Checks every field the user changed and, when the device can store them as they are
    // meant, takes the texts and ends with OK. A field that cannot be stored is named in a
    // message and keeps the focus with its text selected. A field left as it was is never
    // checked, so a text read from a file that the dialog could not produce itself (cut inside
    // a double-byte character) does not stop a change of the other fields.
    void OnOK();

    QLineEdit& NameField() { return nameEdit; }
    QLineEdit& ReadingField() { return readingEdit; }
    QLineEdit& LongitudeField() { return longitudeEdit; }
    QLineEdit& LatitudeField() { return latitudeEdit; }
    QLineEdit& TelephoneField() { return telephoneEdit; }
    QLineEdit& MarkField() { return markEdit; }
    SpinButton& MarkSpin() { return markSpin; }

protected:
    void showEvent(QShowEvent* event) override;
    void accept() override { OnOK(); }

private:
    Prompter& prompter;
    bool fieldsLoaded = false;

    QLineEdit nameEdit;
    QLineEdit readingEdit;
    QLineEdit longitudeEdit;
    QLineEdit latitudeEdit;
    QLineEdit telephoneEdit;
    QLineEdit markEdit;
    QPushButton okButton;
    QPushButton cancelButton;
    ColorTextField nameCaption;
    ColorTextField readingCaption;
    ColorTextField longitudeCaption;
    ColorTextField telephoneCaption;
    ColorTextField markCaption;
    ColorTextField latitudeCaption;
    ColorTextField distanceCaption;
    SpinButton markSpin;
    QComboBox distanceList;
    QFrame line;
};

}  // namespace tovik
