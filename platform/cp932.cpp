#include "cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace tovik {

namespace {

constexpr const char* kCodecName = "windows-31j";

std::optional<QByteArray> EncodeStrictly(QStringView text)
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.isValid() || encoder.hasError())
        return std::nullopt;
    return bytes;
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
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (cutCharacter)
        text += QChar::ReplacementCharacter;
    return text;
}

int Cp932::ByteLength(const QString& text)
{
    const auto bytes = EncodeStrictly(text);
    return bytes ? static_cast<int>(bytes->size()) : static_cast<int>(text.size());
}

}  // namespace tovik
