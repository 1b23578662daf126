// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pointorder.h"

#include <QString>
#include <algorithm>

#include "platform/cp932.h"
#include "platform/japanesecollator.h"

namespace tovik {

namespace {

struct Row {
    QString reading;  // empty when blank
    QString name;     // empty when blank
    int mark = 0;
    std::optional<double> metres;
};

// Blanks around a text do not count; a text of blanks only is none.
QString Text(const std::string& bytes) { return Cp932::Decode(bytes).trimmed(); }

// Below 0 when `a` comes first: texts that are there before empty ones, in dictionary order.
int CompareTexts(const JapaneseCollator& collator, const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return int(a.isEmpty()) - int(b.isEmpty());
    return collator.Compare(a, b);
}

int CompareReadings(const JapaneseCollator& collator, const Row& a, const Row& b)
{
    if (a.reading.isEmpty() && b.reading.isEmpty())
        return CompareTexts(collator, a.name, b.name);
    return CompareTexts(collator, a.reading, b.reading);
}

int Compare(const JapaneseCollator& collator, PointOrder::Key key, const Row& a, const Row& b)
{
    switch (key) {
    case PointOrder::Key::reading:
        break;
    case PointOrder::Key::name:
        if (a.name.isEmpty() && b.name.isEmpty())
            break;
        return CompareTexts(collator, a.name, b.name);
    case PointOrder::Key::markThenReading:
        if (a.mark != b.mark)
            return a.mark < b.mark ? -1 : 1;
        break;
    case PointOrder::Key::distance:
        if (a.metres && b.metres) {
            if (*a.metres != *b.metres)
                return *a.metres < *b.metres ? -1 : 1;
            return 0;
        }
        if (a.metres || b.metres)
            return a.metres ? -1 : 1;
        break;
    }
    return CompareReadings(collator, a, b);
}

}  // namespace

std::vector<int> PointOrder::Order(const std::vector<PointEntry>& entries, Key key, const std::vector<int>& ticked,
                                   const std::vector<std::optional<double>>& metres)
{
    const int count = static_cast<int>(entries.size());
    std::vector<int> places;
    for (const int row : ticked) {
        if (row >= 0 && row < count)
            places.push_back(row);
    }
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    if (places.empty()) {
        for (int row = 0; row < count; ++row)
            places.push_back(row);
    }

    std::vector<Row> rows(entries.size());
    for (const int row : places) {
        const PointEntry& e = entries[static_cast<std::size_t>(row)];
        Row& r = rows[static_cast<std::size_t>(row)];
        r.reading = Text(e.reading);
        r.name = Text(e.name);
        r.mark = e.mark;
        if (static_cast<std::size_t>(row) < metres.size())
            r.metres = metres[static_cast<std::size_t>(row)];
    }
    const JapaneseCollator collator;
    std::vector<int> sorted = places;
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        return Compare(collator, key, rows[static_cast<std::size_t>(a)], rows[static_cast<std::size_t>(b)]) < 0;
    });

    std::vector<int> order(entries.size());
    for (int row = 0; row < count; ++row)
        order[static_cast<std::size_t>(row)] = row;
    for (std::size_t i = 0; i < places.size(); ++i)
        order[static_cast<std::size_t>(places[i])] = sorted[i];
    return order;
}

std::vector<int> PointOrder::Inverse(const std::vector<int>& order)
{
    std::vector<int> inverse(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        inverse[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    return inverse;
}

}  // namespace tovik
