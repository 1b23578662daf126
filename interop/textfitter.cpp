// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/textfitter.h"

#include <limits>

#include "platform/cp932.h"

namespace tovik {

namespace {

const QString kReplacement = QStringLiteral("？");

TextFitter::Fitted Encode(const QString& text, int maxBytes)
{
    TextFitter::Fitted fitted;
    // Every character takes a byte at least: a longer text is never encoded whole.
    if (const auto whole = text.size() <= maxBytes ? Cp932::Encode(text) : std::nullopt;
        whole && static_cast<int>(whole->size()) <= maxBytes) {
        fitted.bytes = *whole;
        return fitted;
    }
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        std::optional<std::string> one = Cp932::Encode(text.mid(i, n));
        if (!one) {
            one = Cp932::Encode(kReplacement);
            fitted.changed = true;
        }
        if (static_cast<int>(fitted.bytes.size() + one->size()) > maxBytes) {
            fitted.changed = true;
            break;
        }
        fitted.bytes += *one;
        i += n;
    }
    return fitted;
}

}  // namespace

TextFitter::Fitted TextFitter::Fit(const QString& text, int maxBytes)
{
    // Line breaks and tabs (a name laid out over lines in an XML file) fold into single
    // spaces; other control characters have no place in a device field.
    bool controls = false;
    for (const QChar c : text)
        controls = controls || c.unicode() < 0x20 || c.unicode() == 0x7F;
    QString clean = text;
    if (controls) {
        clean = text.simplified();
        clean.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
    }
    Fitted fitted = Encode(clean, maxBytes);
    fitted.changed = fitted.changed || controls;
    return fitted;
}

TextFitter::Fitted TextFitter::Replace(const QString& text)
{
    return Encode(text, std::numeric_limits<int>::max());
}

}  // namespace tovik
