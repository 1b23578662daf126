// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/memoryimage.h"
#include "core/pointentry.h"

namespace tovik::test {

// 東京タワー / ﾄｳｷｮｳﾀﾜｰ at 139°44'45".500 E, 35°39'31" N, 03-1234-5678, mark 3.
PointEntry TokyoTower();
// A point named `name` (ASCII) with plain values derived from `seed`.
PointEntry SimplePoint(const std::string& name, int seed = 0);

// A raw image whose listed slots hold points named "S<slot>", with a valid trailer.
std::vector<std::uint8_t> ImageWithOccupiedSlots(const std::vector<int>& slots);
// Recomputes and stores the trailer of raw image bytes.
void FixTrailer(std::vector<std::uint8_t>& bytes);

// Saves a point memory holding `points` in order; false when it could not be written.
bool SavePoints(const std::string& path, const std::vector<PointEntry>& points);
// The message of a result that failed; "(no failure)" for one that worked.
template <class R>
std::string FailureOf(const R& result)
{
    return result ? std::string("(no failure)") : std::string(result.Error());
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// A fresh directory removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path; }
    std::string File(const std::string& name) const { return (path / name).string(); }
    std::vector<std::string> Names() const;

private:
    std::filesystem::path path;
};

}  // namespace tovik::test
