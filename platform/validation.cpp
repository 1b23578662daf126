// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/validation.h"

#include <algorithm>

#include "core/messagetexts.h"

namespace tovik {

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }

// The digits, after an optional sign, between optional blanks; nothing when anything else
// is there.
std::optional<QString> Digits(const QString& text, bool& negative)
{
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype first = i;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    const QString digits = text.mid(first, i - first);
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (digits.isEmpty() || i != text.size() || digits.size() > 18)
        return std::nullopt;
    return digits;
}

}  // namespace

QString Validation::IntegerRequired() { return QStringLiteral("整数を入力してください。"); }

QString Validation::PositiveIntegerRequired() { return QStringLiteral("正の整数を入力してください。"); }

QString Validation::IntegerRange(int low, int high)
{
    return QStringLiteral("%1 から %2 までの整数を入力してください。").arg(low).arg(high);
}

QString Validation::MaxChars(int limit) { return QString::fromUtf8(messages::kTooLong).arg(limit); }

std::optional<long long> Validation::ParseInteger(const QString& text)
{
    bool negative = false;
    const auto digits = Digits(text, negative);
    if (!digits)
        return std::nullopt;
    const long long value = digits->toLongLong();
    return negative ? -value : value;
}

std::optional<unsigned long long> Validation::ParseUnsigned(const QString& text)
{
    constexpr unsigned long long kLargest = 0xFFFFFFFFu;
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    const QChar first = i < text.size() ? text[i] : QChar();
    if (first == u'-')
        return std::nullopt;
    if (first == u'+')
        ++i;
    unsigned long long value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10 + (text[i].unicode() - u'0'), kLargest);
    if (value == 0 && first != u'0')
        return std::nullopt;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return std::nullopt;
    return value;
}

}  // namespace tovik
