// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/bytelimitvalidator.h"

#include <QLineEdit>

#include "platform/cp932.h"
#include "platform/inputtext.h"

namespace tovik {

namespace {

qsizetype CharacterLength(const QString& text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

}  // namespace

ByteLimitValidator::ByteLimitValidator(int limit, QLineEdit& field, Kind kind)
    : QValidator(&field), limit(limit), kind(kind), accepted(field.text())
{
    connect(&field, &QLineEdit::textChanged, this, [this](const QString& text) { accepted = text; });
    field.setValidator(this);
}

int ByteLimitValidator::ByteCount(const QString& text)
{
    if (const auto bytes = Cp932::Encode(text))
        return static_cast<int>(bytes->size());
    int count = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = CharacterLength(text, i);
        const auto bytes = Cp932::Encode(text.mid(i, n));
        count += bytes ? static_cast<int>(bytes->size()) : 2;
        i += n;
    }
    return count;
}

QString ByteLimitValidator::Fitted(const QString& inserted, int bytes) const
{
    QString text = InputText::WithoutControls(inserted);
    if (kind == Kind::numeric)
        text = InputText::NumericAscii(text);
    QString fitted;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = CharacterLength(text, i);
        const QString one = text.mid(i, n);
        bytes += ByteCount(one);
        if (bytes > limit)
            break;
        fitted += one;
        i += n;
    }
    return fitted;
}

QValidator::State ByteLimitValidator::validate(QString& input, int& position) const
{
    // The edit replaced the middle of the accepted text: what lies between the parts both
    // texts share is what arrived.
    const qsizetype shorter = std::min(input.size(), accepted.size());
    qsizetype head = 0;
    while (head < shorter && input[head] == accepted[head])
        ++head;
    if (head > 0 && input[head - 1].isHighSurrogate())
        --head;
    qsizetype tail = 0;
    while (tail < shorter - head && input[input.size() - 1 - tail] == accepted[accepted.size() - 1 - tail])
        ++tail;
    if (tail > 0 && input[input.size() - tail].isLowSurrogate())
        --tail;

    const QString arrived = input.mid(head, input.size() - head - tail);
    if (!arrived.isEmpty()) {
        const QString kept = input.left(head) + input.right(tail);
        const QString fitted = Fitted(arrived, ByteCount(kept));
        if (fitted != arrived) {
            input = input.left(head) + fitted + input.right(tail);
            position = static_cast<int>(head + fitted.size());
        }
    }
    const int bytes = ByteCount(input);
    if (bytes <= limit)
        return Acceptable;
    return bytes <= ByteCount(accepted) ? Intermediate : Invalid;
}

void ByteLimitValidator::SetText(QLineEdit& field, const QString& text)
{
    // A text the program puts in stays as it is, whatever its length or characters.
    const QValidator* validator = field.validator();
    field.setValidator(nullptr);
    field.setText(text);
    field.setValidator(validator);
}

}  // namespace tovik
