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
    // bytes for; `unencodable` then receives the first such character.
    static std::optional<std::string> Encode(const QString& text, QString* unencodable = nullptr);
    // Bytes that are not valid CP932 decode to a replacement character, a double-byte
    // character cut after its first byte to U+FFFD.
    static QString Decode(std::string_view bytes);
    // The number of CP932 bytes of an encodable text, which is also its width in
    // half-width columns.
    static int ByteLength(const QString& text);
};

}  // namespace tovik
