#pragma once

#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include "colortextfield.h"
#include "spinbutton.h"

namespace tovik {

class Prompter;

// The dialog in which the user edits the six texts of one point. It shows, limits and
// returns texts; it knows nothing of the point book or the lists.
class PointEditDialog : public QDialog {
    Q_OBJECT
public:
    explicit PointEditDialog(Prompter& prompter, QWidget* parent = nullptr);

    // Field limits in CP932 bytes.
    static constexpr int kNameLimit = 16;
    static constexpr int kReadingLimit = 16;
    static constexpr int kCoordinateLimit = 16;
    static constexpr int kMarkLimit = 2;
    static constexpr int kTelephoneLimit = 14;

    // The texts: set before the dialog runs, read after it ended with OK.
    QString name;
    QString reading;
    QString longitude;
    QString mark;
    QString latitude;
    QString telephone;
    int distanceIndex = -1;

    // Puts the texts into the fields; the dialog does this when it opens.
    void LoadFields();
    // Checks every field and, when all fit, takes their texts and ends with OK. A field
    // that does not fit is named in a message and keeps the focus.
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
