// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace tovik {

// The device's texts are Windows code page 932 bytes (ICU's "windows-31j", which maps
// 0x8160 to U+FF5E as Windows does).
class Cp932 {
public:
    // The CP932 bytes of `text`, or nothing when it holds a character that CP932 has no
    // bytes for; `unencodable` then receives the first such character. Characters that input
    // methods type for a character CP932 holds under another code point (〜 U+301C for ～
    // U+FF5E, − U+2212 for － U+FF0D, ...) get that character's bytes.
    static std::optional<std::string> Encode(const QString& text, QString* unencodable = nullptr);
    // The bytes of a text already checked to be storable.
    static std::string Checked(const QString& text) { return Encode(text).value_or(std::string()); }
    // A form of a character CP932 cannot hold that it can (its compatibility form, its
    // letter without accents, an ASCII or full-width stand-in), or an empty text.
    static QString Suggestion(const QString& character);
    // Bytes that are not valid CP932 decode to a replacement character, a double-byte
    // character cut after its first byte to U+FFFD.
    static QString Decode(std::string_view bytes);
    // The number of CP932 bytes of an encodable text, which is also its width in
    // half-width columns.
    static int ByteLength(const QString& text);
};

}  // namespace tovik
