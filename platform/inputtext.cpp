// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/inputtext.h"

#include <algorithm>

#include "platform/cp932.h"
#include "core/messagetexts.h"

namespace tovik {

namespace {

bool IsControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0x2028 || u == 0x2029;
}

}  // namespace

QString InputText::WithoutControls(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (!IsControl(c))
            kept += c;
    }
    return kept;
}

bool InputText::HasControls(const QString& text) { return std::any_of(text.begin(), text.end(), IsControl); }

QString InputText::NumericAscii(const QString& text)
{
    QString ascii = text;
    for (QChar& c : ascii) {
        const char16_t u = c.unicode();
        if (u >= u'\uFF10' && u <= u'\uFF19')
            c = QChar(u'0' + (u - u'\uFF10'));
        else if (u == u'\uFF0E' || u == u'\u3002')
            c = u'.';
        else if (u == u'\uFF0C' || u == u'\u3001')
            c = u',';
        else if (u == u'\u3000')
            c = u' ';
        else if (u == u'\uFF07' || u == u'\u2019')
            c = u'\'';
        else if (u == u'\uFF0D' || u == u'\u2212' || u == u'\u2010' || u == u'\u2011' || u == u'\u2013')
            c = u'-';
    }
    return ascii;
}

QString InputText::UnstorableMessage(const QString& text)
{
    QString bad;
    if (Cp932::Encode(text, &bad))
        return {};
    const QString suggestion = Cp932::Suggestion(bad);
    if (suggestion.isEmpty())
        return QString::fromUtf8(messages::kUnencodable).arg(bad);
    return QString::fromUtf8(messages::kUnencodableWithSuggestion).arg(bad, suggestion);
}

}  // namespace tovik
