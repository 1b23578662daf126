// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/core/testimages.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/pointbook.h"

namespace tovik::test {

PointEntry TokyoTower()
{
    PointEntry e;
    e.occupied = PointEntry::kOccupied;
    e.name = "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B";
    e.reading = "\xC4\xB3\xB7\xAE\xB3\xC0\xDC\xB0";
    e.longitude = 2012340;
    e.longitudeFraction = 125;
    e.latitude = 513484;
    e.latitudeFraction = 0;
    e.telephone = {0x03, 0x12, 0x34, 0x56, 0x78, 0xFF};
    e.mark = 3;
    e.distance = 4;
    e.category = 3;
    return e;
}

PointEntry SimplePoint(const std::string& name, int seed)
{
    PointEntry e;
    e.occupied = PointEntry::kOccupied;
    e.name = name;
    e.reading = "r" + name;
    e.longitude = 1'900'000 + seed * 4;
    e.longitudeFraction = static_cast<std::uint8_t>(seed);
    e.latitude = 500'000 + seed * 240;
    e.latitudeFraction = static_cast<std::uint8_t>(seed * 3);
    e.mark = static_cast<std::uint8_t>(seed % 26);
    e.telephone = {0x01, static_cast<std::uint8_t>(seed % 10 << 4 | 0x0F), 0xFF, 0xFF, 0xFF, 0xFF};
    e.distance = static_cast<std::uint8_t>(seed % 10);
    e.category = static_cast<std::uint8_t>(seed % 7);
    return e;
}

std::vector<std::uint8_t> ImageWithOccupiedSlots(const std::vector<int>& slots)
{
    MemoryImage image;
    image.ResetSlots();
    for (int k : slots)
        image.EncodeSlot(static_cast<std::size_t>(k), SimplePoint("S" + std::to_string(k), k));
    std::vector<std::uint8_t> bytes(image.Bytes().begin(), image.Bytes().end());
    FixTrailer(bytes);
    return bytes;
}

void FixTrailer(std::vector<std::uint8_t>& bytes)
{
    MemoryImage image;
    image.Assign(bytes);
    image.StoreTrailer();
    std::copy(image.Bytes().begin() + MemoryImage::kSlotsSize, image.Bytes().end(),
              bytes.begin() + MemoryImage::kSlotsSize);
}

bool SavePoints(const std::string& path, const std::vector<PointEntry>& points)
{
    PointBook book;
    for (const PointEntry& p : points) {
        if (!book.InsertEntry(book.GetCount(), p))
            return false;
    }
    return static_cast<bool>(book.Save(path));
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tovik-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary directory");
    path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<std::string> TempDir::Names() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace tovik::test
