// SPDX-License-Identifier: GPL-3.0-or-later
// What one full pass over a .mem image costs, next to the cost of merely copying it.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/memoryimage.h"
#include "core/pointbook.h"
#include "core/pointentry.h"

namespace {

using tovik::MemoryImage;
using tovik::PointEntry;

// 100 points with CP932 names of varying length (some the full 16 bytes, so not all
// fit a short-string buffer), half-width katakana readings and spread-out values.
std::vector<std::uint8_t> FullImage()
{
    static const std::array<std::string, 4> kNames = {
        "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B",          // 東京タワー
        "\x95\x78\x8E\x6D\x8E\x52",                          // 富士山
        "\x91\xE5\x8D\xE3\x8F\xE9\x8C\xF6\x89\x80\x91\x4F",  // 大阪城公園前
        "Station No.",
    };
    static const std::array<std::string, 4> kReadings = {
        "\xC4\xB3\xB7\xAE\xB3\xC0\xDC\xB0", "\xCC\xBC\xDE\xBB\xDD", "\xB5\xB5\xBB\xB6\xBC\xDE\xAE\xB3",
        "STATION"};
    MemoryImage image;
    image.ResetSlots();
    for (std::size_t k = 0; k < MemoryImage::kSlotCount; ++k) {
        const int n = static_cast<int>(k);
        PointEntry e;
        e.occupied = PointEntry::kOccupied;
        e.name = kNames[k % kNames.size()] + std::to_string(n * 37);
        e.reading = kReadings[k % kReadings.size()] + std::to_string(n);
        e.longitude = 1'800'000 + n * 4'099;
        e.longitudeFraction = static_cast<std::uint8_t>(n * 7);
        e.latitude = 400'000 + n * 1'237;
        e.latitudeFraction = static_cast<std::uint8_t>(n * 11);
        e.telephone = {0x03, static_cast<std::uint8_t>(n), 0x45, 0x67, 0x8F, 0xFF};
        e.mark = static_cast<std::uint8_t>(n % 26);
        e.distance = static_cast<std::uint8_t>(n % 10);
        e.category = static_cast<std::uint8_t>(n % 6);
        image.EncodeSlot(k, e);
    }
    image.StoreTrailer();
    return {image.Bytes().begin(), image.Bytes().end()};
}

const std::vector<std::uint8_t>& Full()
{
    static const std::vector<std::uint8_t> bytes = FullImage();
    return bytes;
}

// Everything a load and a save do to the bytes, without the file system.
void BM_DecodeEncodeCheck(benchmark::State& state)
{
    const std::vector<std::uint8_t>& bytes = Full();
    MemoryImage image;
    std::array<PointEntry, MemoryImage::kSlotCount> entries;
    for (auto _ : state) {
        image.Assign(bytes);
        if (!image.TrailerMatches()) {
            state.SkipWithError("trailer mismatch");
            break;
        }
        for (std::size_t k = 0; k < entries.size(); ++k)
            entries[k] = image.DecodeSlot(k);
        benchmark::DoNotOptimize(entries.data());
        image.ResetSlots();
        for (std::size_t k = 0; k < entries.size(); ++k)
            image.EncodeSlot(k, entries[k]);
        image.StoreTrailer();
        benchmark::DoNotOptimize(image.Bytes().data());
        benchmark::ClobberMemory();
    }
    if (std::memcmp(image.Bytes().data(), bytes.data(), bytes.size()) != 0)
        state.SkipWithError("re-encoded image differs");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(MemoryImage::kSize));
}
BENCHMARK(BM_DecodeEncodeCheck);

// The floor: copying the image once.
void BM_CopyImage(benchmark::State& state)
{
    const std::vector<std::uint8_t>& bytes = Full();
    std::array<std::uint8_t, MemoryImage::kSize> copy{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(bytes.data());
        std::memcpy(copy.data(), bytes.data(), copy.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(MemoryImage::kSize));
}
BENCHMARK(BM_CopyImage);

// A whole load and save through the file system; the save syncs to disk, so this
// mostly measures the disk under the temporary directory.
void BM_LoadSaveFile(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tovik-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        state.SkipWithError("cannot make a temporary directory");
        return;
    }
    const std::filesystem::path dir = pattern;
    const std::string in = (dir / "in.mem").string();
    const std::string out = (dir / "out.mem").string();
    {
        std::ofstream file(in, std::ios::binary);
        file.write(reinterpret_cast<const char*>(Full().data()), static_cast<std::streamsize>(Full().size()));
    }
    tovik::PointBook book;
    for (auto _ : state) {
        if (book.Load(in) != tovik::Loaded::decoded || !book.Save(out)) {
            state.SkipWithError("load or save failed");
            break;
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
BENCHMARK(BM_LoadSaveFile)->UseRealTime();

}  // namespace
