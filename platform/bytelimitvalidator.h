// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

class QLineEdit;

namespace tovik {

// Limits typing in a field to a number of CP932 bytes, as the device stores them: a
// double-byte character counts two. A character CP932 cannot hold counts two as well; the
// dialog refuses it when the user confirms. What arrives (typed, pasted, committed by an
// input method) loses its control characters, in a numeric field turns full-width digits and
// separators into ASCII, and is cut at a character boundary to what still fits, as a limited
// edit control takes a paste. A text the program puts in may be longer than the limit: it can
// then be shortened but not lengthened.
class ByteLimitValidator : public QValidator {
    Q_OBJECT
public:
    enum class Kind { text, numeric };
    static constexpr int kUnlimited = 1 << 20;

    // Watches `field` and becomes its validator.
    ByteLimitValidator(int limit, QLineEdit& field, Kind kind = Kind::text);

    State validate(QString& input, int& position) const override;
    int Limit() const { return limit; }

    static int ByteCount(const QString& text);
    // Puts a text of any length into a field that has this validator, as it stands.
    static void SetText(QLineEdit& field, const QString& text);

private:
    // What may arrive of `inserted` in a field whose other text takes `bytes` bytes.
    QString Fitted(const QString& inserted, int bytes) const;

    int limit;
    Kind kind;
    QString accepted;  // the field's text before the edit being validated
};

}  // namespace tovik
