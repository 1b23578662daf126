// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

#include "interop/exchangepoint.h"
#include "interop/warninglist.h"

namespace tovik {

// What a reader found in a file: its points in file order, or why it found none.
class ReadResult {
public:
    // Takes a point read, in file order; false when it wants no more points, and then
    // they are only counted. The reader still reads each as it reads any other, so that
    // a file gives the same answer (the same message, to the line and column) however
    // many of its points are taken.
    using Take = std::function<bool(ExchangePoint&& point)>;

    // Without `take` the points are kept in `points`.
    explicit ReadResult(Take take = {});

    std::vector<ExchangePoint> points;
    WarningList warnings;
    QString error;

    // A point read: kept, taken or counted.
    void Add(ExchangePoint&& point);
    // A point the reader could not read, with the warning that says so; false once
    // more than WarningList::kLimit could not be read: the reader then stops, with
    // `error` saying why.
    bool Unread(const QString& warning);
    // True once the points are only counted.
    bool Counting() const { return counting; }
    // The points read, counted ones included.
    std::size_t Found() const { return found; }
    // The points read after `take` wanted no more.
    std::size_t Counted() const { return counted; }
    bool Takes() const { return static_cast<bool>(take); }
    // What `other`, read from the rest of the same file, found after this.
    void Append(ReadResult&& other);

private:
    Take take;
    std::size_t found = 0;
    std::size_t counted = 0;
    qsizetype unread = 0;
    bool counting = false;
};

}  // namespace tovik
