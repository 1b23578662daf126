// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/coordinatetext.h"

#include <QStringList>
#include <cmath>

namespace tovik {

namespace {

using Reading = CoordinateText::Reading;

enum Unit { degree, minute, second, noUnit };

// The signs as they are typed and printed: ASCII apostrophe and quote, prime and double
// prime, the typographic quotes word processors put in their place, and 度分秒.
Unit UnitOf(QChar c)
{
    switch (c.unicode()) {
    case u'°':
    case u'º':
    case u'˚':
    case u'度':
        return degree;
    case u'\'':
    case u'′':
    case u'’':
    case u'ʹ':
    case u'分':
        return minute;
    case u'"':
    case u'″':
    case u'”':
    case u'ʺ':
    case u'秒':
        return second;
    default:
        return noUnit;
    }
}

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A unit sign other than the apostrophe, which the device's own texts use as a separator.
bool HasUnitSigns(const QString& t)
{
    for (const QChar c : t) {
        if (c != u'\'' && UnitOf(c) != noUnit)
            return true;
    }
    return false;
}

// Takes a hemisphere off the text: -1 for south and west, 1 for north and east, 0 when
// there is none.
int TakeHemisphere(QString& t)
{
    static const QStringList words{QStringLiteral("北緯"), QStringLiteral("東経"), QStringLiteral("南緯"),
                                   QStringLiteral("西経")};
    for (qsizetype w = 0; w < words.size(); ++w) {
        if (t.startsWith(words[w])) {
            t = t.mid(words[w].size()).trimmed();
            return w < 2 ? 1 : -1;
        }
    }
    const auto letter = [](QChar c) {
        const char16_t u = c.toUpper().unicode();
        return u == u'N' || u == u'E' ? 1 : (u == u'S' || u == u'W' ? -1 : 0);
    };
    int hemisphere = 0;
    if (!t.isEmpty() && (hemisphere = letter(t.front())) != 0)
        t = t.mid(1).trimmed();
    else if (!t.isEmpty() && (hemisphere = letter(t.back())) != 0)
        t = t.chopped(1).trimmed();
    return hemisphere;
}

// Numbers each followed by its unit sign, or by blanks where the sign is left out; only
// the last may have a decimal part.
Reading ReadWithUnits(const QString& t)
{
    double value = 0;
    int position = degree;
    bool fraction = false;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < t.size() && t[i].isSpace())
            ++i;
    };
    while (i < t.size()) {
        if (position > second || fraction)
            return {};
        const qsizetype start = i;
        while (i < t.size() && IsDigit(t[i]))
            ++i;
        const qsizetype whole = i - start;
        if (whole == 0 || whole > (position == degree ? 3 : 2))
            return {};
        if (i < t.size() && t[i] == u'.') {
            const qsizetype point = ++i;
            while (i < t.size() && IsDigit(t[i]))
                ++i;
            if (i == point)
                return {};
            fraction = true;
        }
        const double number = t.mid(start, i - start).toDouble();
        skipBlanks();
        if (i < t.size() && !IsDigit(t[i])) {
            Unit unit = UnitOf(t[i]);
            if (unit == minute && position == second && i + 1 < t.size() && UnitOf(t[i + 1]) == minute) {
                unit = second;  // 20'' for 20"
                ++i;
            } else if (t[i] == u'\'' && position == degree) {
                unit = degree;  // 35'41'20", as the device separates its groups
            }
            if (unit != position)
                return {};
            ++i;
            skipBlanks();
        }
        if (position != degree && number >= 60)
            return {};
        value += number / std::pow(60.0, position);
        ++position;
    }
    return {value};
}

// Digit groups between full stops, colons, blanks or apostrophes.
Reading ReadGroups(const QString& t)
{
    QStringList groups, separators;
    for (qsizetype i = 0; i < t.size();) {
        const qsizetype start = i;
        while (i < t.size() && IsDigit(t[i]))
            ++i;
        if (i == start)
            return {};
        groups << t.mid(start, i - start);
        const qsizetype gap = i;
        while (i < t.size() && (t[i] == u'.' || t[i] == u':' || t[i] == u'\'' || t[i].isSpace()))
            ++i;
        if (i == gap && i < t.size())
            return {};
        if (i < t.size())
            separators << t.mid(gap, i - gap);
        else if (i > gap)
            return {};
    }
    const qsizetype count = groups.size();
    if (count < 3 || count > 4 || groups[0].size() > 3 || groups[1].size() > 2 || groups[2].size() > 2 ||
        (count == 4 && groups[3].size() > 3))
        return {};
    const bool dotted = separators.count(QStringLiteral(".")) == separators.size();
    if (!dotted) {
        // Among blanks or colons a full stop may be a decimal point, and a short fourth group
        // a decimal part: taken only where milliseconds and a decimal part agree.
        const bool agree = count == 4 ? separators[0] != u"." && separators[1] != u"." && groups[3].size() == 3
                                      : !separators.contains(QStringLiteral("."));
        if (!agree)
            return {std::nullopt, true};
    }
    const double minutes = groups[1].toDouble();
    const double seconds = groups[2].toDouble();
    if (minutes >= 60 || seconds >= 60)
        return {};
    const double milliseconds = count == 4 ? groups[3].toDouble() : 0;
    return {groups[0].toDouble() + minutes / 60 + (seconds + milliseconds / 1000) / 3600};
}

}  // namespace

CoordinateText::Reading CoordinateText::Read(const QString& text)
{
    QString t = text.trimmed();
    bool ok = false;
    if (const double decimal = t.toDouble(&ok); ok)
        return {std::isfinite(decimal) ? std::optional<double>(decimal) : std::nullopt};
    const int hemisphere = TakeHemisphere(t);
    int sign = hemisphere < 0 ? -1 : 1;
    if (!t.isEmpty() && (t.front() == u'+' || t.front() == u'-')) {
        if (hemisphere != 0)
            return {};
        sign = t.front() == u'-' ? -1 : 1;
        t = t.mid(1);
    }
    if (t.isEmpty() || !IsDigit(t.front()))
        return {};
    Reading reading;
    if (const double decimal = t.toDouble(&ok); ok)
        reading.degrees = decimal;
    else
        reading = HasUnitSigns(t) ? ReadWithUnits(t) : ReadGroups(t);
    if (reading.degrees)
        *reading.degrees *= sign;
    return reading;
}

}  // namespace tovik
