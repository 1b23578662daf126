#include "bytelimitvalidator.h"

#include <QLineEdit>

#include "cp932.h"

namespace tovik {

ByteLimitValidator::ByteLimitValidator(int limit, QLineEdit& field) : QValidator(&field), limit(limit)
{
    acceptedBytes = ByteCount(field.text());
    connect(&field, &QLineEdit::textChanged, this, [this](const QString& text) { acceptedBytes = ByteCount(text); });
    field.setValidator(this);
}

int ByteLimitValidator::ByteCount(const QString& text)
{
    if (const auto bytes = Cp932::Encode(text))
        return static_cast<int>(bytes->size());
    int count = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const auto bytes = Cp932::Encode(text.mid(i, n));
        count += bytes ? static_cast<int>(bytes->size()) : 2;
        i += n;
    }
    return count;
}

QValidator::State ByteLimitValidator::validate(QString& input, int&) const
{
    const int bytes = ByteCount(input);
    if (bytes <= limit)
        return Acceptable;
    return bytes < acceptedBytes ? Intermediate : Invalid;
}

void ByteLimitValidator::SetText(QLineEdit& field, const QString& text)
{
    // A field whose own text fails its validator stops refusing edits, so the text goes
    // in while the validator looks away.
    const QValidator* validator = field.validator();
    field.setValidator(nullptr);
    field.setText(text);
    field.setValidator(validator);
}

}  // namespace tovik
