// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/jsonscan.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>

namespace tovik {

namespace {

// QJsonDocument's own limit of nested arrays and objects.
constexpr int kDeepest = 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the UTF-8 sequence at `at` (shortest form, no surrogates, up to
// U+10FFFF), or 0 when the bytes are none.
qsizetype Utf8Length(QByteArrayView s, qsizetype at)
{
    const auto byte = [&s](qsizetype i) { return static_cast<unsigned char>(s[i]); };
    const auto following = [&](qsizetype i, unsigned char low, unsigned char high) {
        return i < s.size() && byte(i) >= low && byte(i) <= high;
    };
    const unsigned char lead = byte(at);
    if (lead >= 0xC2 && lead <= 0xDF)
        return following(at + 1, 0x80, 0xBF) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        return following(at + 1, low, high) && following(at + 2, 0x80, 0xBF) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        return following(at + 1, low, high) && following(at + 2, 0x80, 0xBF) && following(at + 3, 0x80, 0xBF) ? 4 : 0;
    }
    return 0;
}

}  // namespace

JsonScan::JsonScan(QByteArrayView json) : json(json) {}

std::optional<JsonScan::Span> JsonScan::Check()
{
    at = json.startsWith("\xEF\xBB\xBF") && json.size() > 3 ? 3 : 0;
    Blanks();
    Span root{at, 0};
    if (at >= json.size() || (json[at] != '{' && json[at] != '[')) {
        Fail(QStringLiteral("オブジェクトか配列で始まっていません"));
        return std::nullopt;
    }
    const bool object = json[at++] == '{';
    if (!(object ? ParseObject(1) : ParseArray(1)))
        return std::nullopt;
    root.end = at;
    Blanks();
    if (at < json.size()) {
        Fail(QStringLiteral("終わりの後に余分な内容があります"));
        return std::nullopt;
    }
    return root;
}

bool JsonScan::Fail(const QString& why)
{
    errorAt = at;
    reason = why;
    return false;
}

void JsonScan::Blanks()
{
    while (at < json.size() && IsBlank(json[at]))
        ++at;
}

bool JsonScan::ParseValue(int depth)
{
    if (at >= json.size())
        return Fail(QStringLiteral("値がありません"));
    const char c = json[at++];
    switch (c) {
    case '"':
        return ParseString();
    case '{':
    case '[':
        if (depth + 1 > kDeepest)
            return Fail(QStringLiteral("入れ子が深すぎます"));
        return c == '{' ? ParseObject(depth + 1) : ParseArray(depth + 1);
    case 't':
    case 'f':
    case 'n': {
        const QByteArrayView rest = c == 't' ? "rue" : c == 'f' ? "alse" : "ull";
        if (!json.sliced(at).startsWith(rest))
            return Fail(QStringLiteral("値が正しくありません"));
        at += rest.size();
        return true;
    }
    default:
        --at;
        return ParseNumber();
    }
}

bool JsonScan::ParseObject(int depth)
{
    Blanks();
    if (at < json.size() && json[at] == '}') {
        ++at;
        return true;
    }
    for (;;) {
        Blanks();
        if (at >= json.size() || json[at] != '"')
            return Fail(QStringLiteral("オブジェクトが閉じていません"));
        ++at;
        if (!ParseString())
            return false;
        Blanks();
        if (at >= json.size() || json[at] != ':')
            return Fail(QStringLiteral("名前の後に「:」がありません"));
        ++at;
        Blanks();
        if (!ParseValue(depth))
            return false;
        Blanks();
        if (at < json.size() && json[at] == ',') {
            ++at;
            continue;
        }
        if (at < json.size() && json[at] == '}') {
            ++at;
            return true;
        }
        return Fail(QStringLiteral("オブジェクトが閉じていません"));
    }
}

bool JsonScan::ParseArray(int depth)
{
    Blanks();
    if (at < json.size() && json[at] == ']') {
        ++at;
        return true;
    }
    for (;;) {
        Blanks();
        if (!ParseValue(depth))
            return false;
        Blanks();
        if (at < json.size() && json[at] == ',') {
            ++at;
            continue;
        }
        if (at < json.size() && json[at] == ']') {
            ++at;
            return true;
        }
        return Fail(QStringLiteral("配列が閉じていません"));
    }
}

bool JsonScan::ParseString()
{
    while (at < json.size()) {
        const char c = json[at];
        if (c == '"') {
            ++at;
            return true;
        }
        if (c == '\\') {
            // Any character may follow, as QJsonDocument takes it; \u takes four hex digits.
            if (++at >= json.size())
                break;
            if (json[at++] == 'u') {
                if (json.size() - at < 4 || !IsHex(json[at]) || !IsHex(json[at + 1]) || !IsHex(json[at + 2]) ||
                    !IsHex(json[at + 3]))
                    return Fail(QStringLiteral("\\u の後が 16 進数 4 桁ではありません"));
                at += 4;
            }
        } else if (static_cast<unsigned char>(c) < 0x80) {
            ++at;
        } else if (const qsizetype n = Utf8Length(json, at)) {
            at += n;
        } else {
            return Fail(QStringLiteral("UTF-8 として読めない文字があります"));
        }
    }
    return Fail(QStringLiteral("文字列が閉じていません"));
}

bool JsonScan::ParseNumber()
{
    const qsizetype start = at;
    if (at < json.size() && json[at] == '-')
        ++at;
    if (at < json.size() && json[at] == '0') {
        ++at;
    } else {
        while (at < json.size() && IsDigit(json[at]))
            ++at;
    }
    if (at < json.size() && json[at] == '.') {
        ++at;
        while (at < json.size() && IsDigit(json[at]))
            ++at;
    }
    if (at < json.size() && (json[at] == 'e' || json[at] == 'E')) {
        ++at;
        if (at < json.size() && (json[at] == '-' || json[at] == '+'))
            ++at;
        while (at < json.size() && IsDigit(json[at]))
            ++at;
    }
    const QByteArray number = QByteArray::fromRawData(json.data() + start, at - start);
    bool isInteger = false, isDouble = false;
    number.toLongLong(&isInteger);
    if (!isInteger)
        number.toDouble(&isDouble);
    if (at >= json.size() || (!isInteger && !isDouble)) {
        at = start;
        return Fail(QStringLiteral("数値が正しくありません"));
    }
    return true;
}

qsizetype JsonScan::SkipBlanks(qsizetype from) const
{
    while (from < json.size() && IsBlank(json[from]))
        ++from;
    return from;
}

qsizetype JsonScan::SkipString(qsizetype from) const
{
    for (qsizetype i = from + 1;; ++i) {
        if (json[i] == '\\')
            ++i;
        else if (json[i] == '"')
            return i + 1;
    }
}

qsizetype JsonScan::Skip(qsizetype from) const
{
    const char c = json[from];
    if (c == '"')
        return SkipString(from);
    if (c != '{' && c != '[') {
        qsizetype i = from;
        while (i < json.size() && !IsBlank(json[i]) && json[i] != ',' && json[i] != ']' && json[i] != '}')
            ++i;
        return i;
    }
    int depth = 0;
    for (qsizetype i = from;;) {
        const char d = json[i];
        if (d == '"') {
            i = SkipString(i);
            continue;
        }
        if (d == '{' || d == '[')
            ++depth;
        else if ((d == '}' || d == ']') && --depth == 0)
            return i + 1;
        ++i;
    }
}

void JsonScan::Members(Span object, const std::function<bool(const QString& key, Span value)>& visit) const
{
    qsizetype i = SkipBlanks(object.begin + 1);
    while (json[i] == '"') {
        const qsizetype keyEnd = SkipString(i);
        const QByteArrayView inner = json.sliced(i + 1, keyEnd - i - 2);
        // QString::fromUtf8 would drop a leading U+FEFF that the key holds.
        const QString key = inner.contains('\\') || inner.startsWith("\xEF\xBB\xBF") ? Value({i, keyEnd}).toString()
                                                                                   : QString::fromUtf8(inner);
        const qsizetype valueAt = SkipBlanks(SkipBlanks(keyEnd) + 1);
        const Span value{valueAt, Skip(valueAt)};
        if (!visit(key, value))
            return;
        i = SkipBlanks(value.end);
        if (json[i] != ',')
            return;
        i = SkipBlanks(i + 1);
    }
}

void JsonScan::Elements(Span array, const std::function<bool(Span value)>& visit) const
{
    qsizetype i = SkipBlanks(array.begin + 1);
    while (json[i] != ']') {
        const Span value{i, Skip(i)};
        if (!visit(value))
            return;
        i = SkipBlanks(value.end);
        if (json[i] != ',')
            return;
        i = SkipBlanks(i + 1);
    }
}

QJsonValue JsonScan::Value(Span value) const
{
    const QByteArray wrapped = '[' + json.sliced(value.begin, value.end - value.begin).toByteArray() + ']';
    return QJsonDocument::fromJson(wrapped).array().at(0);
}

}  // namespace tovik
