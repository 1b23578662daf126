// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/clitext.h"

namespace tovik {

namespace {

constexpr char16_t kEscapedByteBase = 0xDC00;

bool IsEscapedByte(char16_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

// The length of the valid UTF-8 sequence at the start of `s`, or 0 when there is none
// (overlong forms, surrogates and values above U+10FFFF are not valid).
std::size_t ValidSequence(std::string_view s)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const auto continuation = [&](std::size_t i) { return i < s.size() && (byte(i) & 0xC0) == 0x80; };
    const unsigned char b = byte(0);
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return continuation(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (!continuation(1) || !continuation(2))
            return 0;
        if ((b == 0xE0 && byte(1) < 0xA0) || (b == 0xED && byte(1) >= 0xA0))
            return 0;
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3))
            return 0;
        if ((b == 0xF0 && byte(1) < 0x90) || (b == 0xF4 && byte(1) >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

}  // namespace

QString CliText::FromArgument(std::string_view bytes)
{
    QString text;
    while (!bytes.empty()) {
        if (const std::size_t n = ValidSequence(bytes); n > 0) {
            text += QString::fromUtf8(bytes.data(), static_cast<qsizetype>(n));
            bytes.remove_prefix(n);
        } else {
            text += QChar(static_cast<char16_t>(kEscapedByteBase + static_cast<unsigned char>(bytes.front())));
            bytes.remove_prefix(1);
        }
    }
    return text;
}

std::string CliText::ToPath(const QString& argument)
{
    std::string bytes;
    qsizetype start = 0;
    const auto flush = [&](qsizetype end) {
        bytes += argument.mid(start, end - start).toUtf8().toStdString();
    };
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const char16_t c = argument[i].unicode();
        if (IsEscapedByte(c) && !(i > 0 && argument[i - 1].isHighSurrogate())) {
            flush(i);
            bytes += static_cast<char>(c - kEscapedByteBase);
            start = i + 1;
        }
    }
    flush(argument.size());
    return bytes;
}

QString CliText::Printable(const QString& text)
{
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\n')
            shown += QStringLiteral("\\n");
        else if (c == u'\r')
            shown += QStringLiteral("\\r");
        else if (c == u'\t')
            shown += QStringLiteral("\\t");
        else if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
            shown += QStringLiteral("\\x%1").arg(c, 2, 16, QChar(u'0'));
        else if (IsEscapedByte(c) && !(i > 0 && text[i - 1].isHighSurrogate()))
            shown += QStringLiteral("\\x%1").arg(c - kEscapedByteBase, 2, 16, QChar(u'0'));
        else
            shown += text[i];
    }
    return shown;
}

}  // namespace tovik
