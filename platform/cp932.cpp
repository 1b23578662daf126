// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <optional>
#include <utility>

namespace tovik {

namespace {

constexpr const char* kCodecName = "windows-31j";

// Code points that Windows' CP932 table has under another code point, and the one it has.
// The device shows the bytes the same.
constexpr std::array<std::pair<char16_t, char16_t>, 7> kEquivalents = {{
    {u'\u301C', u'\uFF5E'},  // wave dash -> full-width tilde, 0x8160
    {u'\u2212', u'\uFF0D'},  // minus sign -> full-width hyphen-minus, 0x817C
    {u'\u2016', u'\u2225'},  // double vertical line -> parallel to, 0x8161
    {u'\u00A2', u'\uFFE0'},  // cent, 0x8191
    {u'\u00A3', u'\uFFE1'},  // pound, 0x8192
    {u'\u00AC', u'\uFFE2'},  // not sign, 0x81CA
    {u'\u2014', u'\u2015'},  // em dash -> horizontal bar, 0x815C
}};

QString WithEquivalents(QStringView text)
{
    QString mapped = text.toString();
    for (QChar& c : mapped) {
        for (const auto& [from, to] : kEquivalents) {
            if (c == QChar(from))
                c = QChar(to);
        }
    }
    return mapped;
}

bool HasEquivalents(QStringView text)
{
    for (const QChar c : text) {
        for (const auto& [from, to] : kEquivalents) {
            if (c == QChar(from))
                return true;
        }
    }
    return false;
}

// One encoder and one decoder per thread, made when first needed and then reused: making a
// converter costs more than converting a name, and an import converts every text of every
// point. Qt 6.4's converters keep reporting an error once they have met one (and its
// encoder can fail with std::bad_alloc when used again after one), so a converter that
// reported an error is thrown away and the next text gets a fresh one.
std::optional<QByteArray> EncodeStrictly(QStringView text)
{
    thread_local std::optional<QStringEncoder> encoder;
    if (!encoder)
        encoder.emplace(kCodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = HasEquivalents(text) ? QByteArray(encoder->encode(WithEquivalents(text)))
                                            : QByteArray(encoder->encode(text));
    if (!encoder->isValid() || encoder->hasError()) {
        encoder.reset();
        return std::nullopt;
    }
    return bytes;
}

QString DecodeLeniently(QByteArrayView bytes)
{
    thread_local std::optional<QStringDecoder> decoder;
    if (!decoder)
        decoder.emplace(kCodecName, QStringConverter::Flag::Stateless);
    QString text = decoder->decode(bytes);
    if (!decoder->isValid() || decoder->hasError())
        decoder.reset();
    return text;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

std::optional<std::string> Cp932::Encode(const QString& text, QString* unencodable)
{
    if (const auto bytes = EncodeStrictly(text))
        return bytes->toStdString();
    if (unencodable) {
        unencodable->clear();
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            const QStringView one = QStringView(text).mid(i, n);
            if (!EncodeStrictly(one)) {
                *unencodable = one.toString();
                break;
            }
            i += n;
        }
    }
    return std::nullopt;
}

QString Cp932::Decode(std::string_view bytes)
{
    // A stored text may be cut after a lead byte; the decoder would drop it silently.
    bool cutCharacter = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(bytes[i]))) {
            cutCharacter = i + 1 == bytes.size();
            ++i;
        }
    }
    if (cutCharacter)
        bytes.remove_suffix(1);
    QString text = DecodeLeniently(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (cutCharacter)
        text += QChar::ReplacementCharacter;
    return text;
}

QString Cp932::Suggestion(const QString& character)
{
    auto storable = [](const QString& s) { return !s.isEmpty() && EncodeStrictly(s).has_value(); };
    // ™ -> TM, ﬁ -> fi, the no-break space -> a space.
    if (const QString compatible = character.normalized(QString::NormalizationForm_KC);
        compatible != character && storable(compatible))
        return compatible;
    // é -> e: the letter without its marks.
    QString bare;
    for (const QChar c : character.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing && c.category() != QChar::Mark_Enclosing)
            bare += c;
    }
    if (bare != character && storable(bare))
        return bare;
    // Dashes and quotes that word processors put in.
    static const std::array<std::pair<char16_t, const char16_t*>, 7> kStandIns = {{
        {u'\u2010', u"-"}, {u'\u2011', u"-"}, {u'\u2012', u"-"}, {u'\u2013', u"-"},
        {u'\u201A', u","}, {u'\u201E', u"\""}, {u'\u00B7', u"\u30FB"},
    }};
    for (const auto& [from, to] : kStandIns) {
        if (character == QChar(from) && storable(QString::fromUtf16(to)))
            return QString::fromUtf16(to);
    }
    return {};
}

int Cp932::ByteLength(const QString& text)
{
    const auto bytes = EncodeStrictly(text);
    return bytes ? static_cast<int>(bytes->size()) : static_cast<int>(text.size());
}

}  // namespace tovik
