// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QJsonValue>
#include <QString>
#include <functional>
#include <optional>

namespace tovik {

// JSON text looked through without building it: whether it is well-formed as
// QJsonDocument reads it, and where each value inside an object or an array begins and
// ends, so that a reader decodes only the few values it wants. A document of a million
// features is then held once, as its bytes, rather than as a tree twelve times its size.
class JsonScan {
public:
    struct Span {
        qsizetype begin = 0;
        qsizetype end = 0;
    };

    // `json` must outlive the scan.
    explicit JsonScan(QByteArrayView json);

    // The root value when the whole text is well-formed as QJsonDocument reads it: an
    // object or an array, after an optional UTF-8 byte-order mark, nested up to 1,024
    // deep, strings in UTF-8, numbers that a double holds, blanks around the tokens.
    // Nothing otherwise, with Offset and Reason saying where and what is wrong.
    std::optional<Span> Check();
    qsizetype Offset() const { return errorAt; }
    QString Reason() const { return reason; }

    // On a checked text only. '{', '[', '"', 't', 'f', 'n', or the first character of a
    // number.
    char Kind(Span value) const { return json[value.begin]; }
    // Each member of an object, in order, until `visit` gives false.
    void Members(Span object, const std::function<bool(const QString& key, Span value)>& visit) const;
    // Each element of an array, in order, until `visit` gives false.
    void Elements(Span array, const std::function<bool(Span value)>& visit) const;
    // The value decoded.
    QJsonValue Value(Span value) const;

private:
    bool Fail(const QString& why);
    void Blanks();
    bool ParseValue(int depth);
    bool ParseObject(int depth);
    bool ParseArray(int depth);
    bool ParseString();
    bool ParseNumber();
    // The end of the checked value that begins at `from`, and of a string.
    qsizetype Skip(qsizetype from) const;
    qsizetype SkipString(qsizetype from) const;
    qsizetype SkipBlanks(qsizetype from) const;

    QByteArrayView json;
    qsizetype at = 0;
    qsizetype errorAt = -1;
    QString reason;
};

}  // namespace tovik
