// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/readresult.h"

namespace tovik {

namespace {

QString TooManyUnread()
{
    return QStringLiteral("読めない地点が %1 件を超えたため、ファイルを読むのをやめました。").arg(WarningList::kLimit);
}

}  // namespace

ReadResult::ReadResult(Take take) : take(std::move(take)) {}

void ReadResult::Add(ExchangePoint&& point)
{
    ++found;
    if (!counting) {
        if (!take) {
            points.push_back(std::move(point));
            return;
        }
        counting = !take(std::move(point));
    }
    if (counting)
        ++counted;
}

bool ReadResult::Unread(const QString& warning)
{
    if (++unread > WarningList::kLimit) {
        error = TooManyUnread();
        return false;
    }
    warnings.Add(warning);
    return true;
}

void ReadResult::Append(ReadResult&& other)
{
    points.insert(points.end(), std::make_move_iterator(other.points.begin()),
                  std::make_move_iterator(other.points.end()));
    warnings.Append(other.warnings);
    found += other.found;
    counted += other.counted;
    unread += other.unread;
    if (unread > WarningList::kLimit)
        error = TooManyUnread();
}

}  // namespace tovik
