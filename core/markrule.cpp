// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/markrule.h"

#include "core/fieldencoding.h"

namespace tovik {

namespace {
constexpr std::uint8_t kDistance400m = 4;
}

std::optional<MarkFollowers> FollowMark(std::int32_t mark)
{
    if (mark < 1 || mark > 5)
        return std::nullopt;
    return MarkFollowers{kDistance400m, static_cast<std::uint8_t>(mark)};
}

MarkFollowers FollowMarkText(std::string_view markText)
{
    return FollowMark(ReadLeadingInteger(markText)).value_or(MarkFollowers{});
}

}  // namespace tovik
