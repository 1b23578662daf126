// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

namespace tovik {

class PointBook;
struct PointEntry;

// The eight texts of one list row: name, longitude, latitude, mark, reading, telephone
// (the six columns), then the distance and category texts, which travel with the row.
struct RowRecord {
    enum Text { name, longitude, latitude, mark, reading, telephone, distance, category };
    static constexpr int kColumns = 6;

    std::array<QString, 8> texts;

    QString& operator[](int i) { return texts[static_cast<std::size_t>(i)]; }
    const QString& operator[](int i) const { return texts[static_cast<std::size_t>(i)]; }

    // The row of entry `index` of a book, as its getters give the texts.
    static RowRecord FromBook(const PointBook& book, int index);
    // The row of a point held outside a book, with the same texts.
    static RowRecord FromEntry(const PointEntry& entry);
    // One text of a point's row, made alone (lists of many points ask for the rows shown).
    static QString Text(const PointEntry& entry, int text);
    // The heading of a list column.
    static QString Heading(int column);
    // The image index of a row: its mark text read as atoi reads it.
    int ImageIndex() const;
    // The same of a point: its mark text read as atoi reads it.
    static int ImageIndex(const PointEntry& entry);
};

}  // namespace tovik
