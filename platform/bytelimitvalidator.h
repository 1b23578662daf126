#pragma once

#include <QValidator>

class QLineEdit;

namespace tovik {

// Limits typing in a field to a number of CP932 bytes, as the device stores them: a
// double-byte character counts two. A character CP932 cannot hold counts two as well; the
// dialog refuses it when the user confirms. A text the program puts in may be longer: it
// can then be shortened but not lengthened.
class ByteLimitValidator : public QValidator {
    Q_OBJECT
public:
    // Watches `field` and becomes its validator.
    ByteLimitValidator(int limit, QLineEdit& field);

    State validate(QString& input, int& position) const override;
    int Limit() const { return limit; }

    static int ByteCount(const QString& text);
    // Puts a text of any length into a field that has this validator.
    static void SetText(QLineEdit& field, const QString& text);

private:
    int limit;
    int acceptedBytes = 0;  // of the field's text before the edit being validated
};

}  // namespace tovik
