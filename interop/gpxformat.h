// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

#include "interop/readresult.h"

namespace tovik {

// GPX 1.1 waypoints. Each <wpt> carries the name, a readable <cmt> (the reading) and
// <desc>, the mark as <sym>, and the device's fields in <extensions><tovik:point> in
// Tovik's own namespace. Routes and tracks are not read.
class GpxFormat {
public:
    // Files from this size on are read in two halves at once.
    static constexpr qsizetype kHalvedSize = 1024 * 1024;

    static ReadResult Read(const QByteArray& bytes, ReadResult::Take take = {});
    static QByteArray Write(const std::vector<ExchangePoint>& points);

    static ReadResult ReadWhole(const QByteArray& bytes, ReadResult::Take take = {});
    // A large file in two halves, split in front of a <wpt> past the middle, each read on
    // a core of its own as a document of its own: the first closed after the split, the
    // second opened with the root's start tag and namespaces. Both read without error
    // only when the split lies between two elements of the root (inside a comment, a
    // CDATA section or a nested element the first half does not close), and then they
    // give what reading the whole gives. Nothing when they do not, when the file has a
    // DTD or another encoding than UTF-8: the whole is read then.
    static std::optional<ReadResult> ReadInHalves(const QByteArray& bytes);
};

}  // namespace tovik
