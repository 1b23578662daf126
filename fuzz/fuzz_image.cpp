// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a .mem file: whatever loads must save to a well-formed image that
// loads back to the same points, after the cuts the image format imposes.
//
// Bytes past the 9604 of the image are never read by the loader; here they drive a
// short run of edits on the loaded book before it is saved.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/fieldencoding.h"
#include "fuzz/fuzzcheck.h"
#include "core/memoryimage.h"
#include "core/messagetexts.h"
#include "core/pointbook.h"
#include "core/pointentry.h"

namespace {

using namespace tovik;
using fuzz::AsStored;
using fuzz::Check;

std::filesystem::path gDir;
std::string gIn;
std::string gOut;

void RemoveDir() { std::error_code ignored; std::filesystem::remove_all(gDir, ignored); }

// Whole seconds survive a trip through the shown text, and so does the fraction.
void CheckCoordinateText(const std::string& text, std::int32_t value, std::uint8_t fraction)
{
    const Coordinate c = ParseCoordinate(text);
    Check(c.value == value - value % 4 && c.fraction == fraction);
}

// Edits: an operation byte, an index byte, then a text up to the next 0xFF byte
// (a byte CP932 never uses).
void ApplyEdits(PointBook& book, std::span<const std::uint8_t> script)
{
    for (int n = 0; n < 32 && script.size() >= 2; ++n) {
        const std::uint8_t op = script[0];
        const std::uint8_t at = script[1];
        script = script.subspan(2);
        const auto end = std::find(script.begin(), script.end(), std::uint8_t{0xFF});
        const std::string text(script.begin(), end);
        script = script.subspan(static_cast<std::size_t>(end - script.begin()) + (end != script.end()));

        const int count = book.GetCount();
        const int index = count > 0 ? at % count : 0;
        switch (op % 11) {
        case 0: if (count > 0) book.SetName(text, index); break;
        case 1: if (count > 0) book.SetReading(text, index); break;
        case 2: if (count > 0) book.SetLongitude(text, index); break;
        case 3: if (count > 0) book.SetLatitude(text, index); break;
        case 4: if (count > 0) book.SetTelephone(text, index); break;
        case 5: if (count > 0) book.SetMark(text, index); break;
        case 6: if (count > 0) book.SetCategory(text, index); break;
        case 7: if (count > 0) book.SetDistance(static_cast<int>(text.size()), index); break;
        case 8:
            if (count < PointBook::kCapacity) {
                Check(book.InsertEntry(at % (count + 1),
                                       PointEntry::FromTexts(text, text + text, text, text, text, text)));
                Check(book.GetCount() == count + 1);
            }
            break;
        case 9:
            if (count > 0) {
                Check(book.RemoveEntry(index));
                Check(book.GetCount() == count - 1);
            }
            break;
        case 10:
            if (count > 0) {
                Check(book.MoveEntry(index, static_cast<int>(text.size()) % (count + 1)));
                Check(book.GetCount() == count);
            }
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // tmpfs when there is one: every save syncs, which a disk would make the bottleneck.
    const char* tmp = std::getenv("TMPDIR");
    const std::filesystem::path base = tmp != nullptr ? std::filesystem::path(tmp)
                                       : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                                                    : "/tmp";
    std::string pattern = (base / "tovik-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        std::abort();
    gDir = pattern;
    gIn = (gDir / "in.mem").string();
    gOut = (gDir / "out.mem").string();
    std::atexit(RemoveDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    {
        std::ofstream file(gIn, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Check(file.good());
    }

    MemoryImage raw;
    raw.Assign(input);
    const bool trailerMatches = raw.TrailerMatches();

    PointBook book;
    const Result<Loaded> loaded = book.Load(gIn);
    // Rejection is the only outcome besides decoding, and it says why.
    Check(trailerMatches == (loaded == Loaded::decoded));
    Check(trailerMatches || (!loaded && loaded.Error() == messages::kUnrecognisedFormat));
    if (!trailerMatches) {
        Check(book.GetCount() == 0);
        return 0;
    }

    // The book holds the occupied slots in slot order, packed from entry 0.
    int count = 0;
    for (std::size_t k = 0; k < MemoryImage::kSlotCount; ++k) {
        if (raw.IsSlotOccupied(k))
            Check(raw.DecodeSlot(k) == book.Entry(count++));
    }
    Check(book.GetCount() == count && !book.IsModified());
    for (int i = 0; i < PointBook::kCapacity; ++i)
        Check(book.IsOccupied(i) == (i < count));

    for (int i = 0; i < count; ++i) {
        const PointEntry& e = book.Entry(i);
        Check(book.GetName(i).size() <= 16 && book.GetReading(i).size() <= 16);
        CheckCoordinateText(book.GetLongitudeText(i), e.longitude, e.longitudeFraction);
        CheckCoordinateText(book.GetLatitudeText(i), e.latitude, e.latitudeFraction);
        Check(book.GetTelephoneText(i).size() <= 10);
        Check(ParseCategory(book.GetCategoryText(i)) == e.category);
        Check(!book.GetMarkText(i).empty() && !book.GetDistanceText(i).empty());
    }

    if (size > MemoryImage::kSize)
        ApplyEdits(book, input.subspan(MemoryImage::kSize));
    count = book.GetCount();
    const bool modified = book.IsModified();
    std::vector<PointEntry> before;
    for (int i = 0; i < count; ++i)
        before.push_back(book.Entry(i));

    Check(static_cast<bool>(book.Save(gOut)));
    // Saving changes neither the points nor the modified flag.
    Check(book.GetCount() == count && book.IsModified() == modified);
    for (int i = 0; i < count; ++i)
        Check(book.Entry(i) == before[static_cast<std::size_t>(i)]);
    // The temporary file was renamed, not left behind.
    Check(std::distance(std::filesystem::directory_iterator(gDir), std::filesystem::directory_iterator()) == 2);

    std::vector<std::uint8_t> saved;
    {
        std::ifstream file(gOut, std::ios::binary);
        saved.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    Check(saved.size() == MemoryImage::kSize);
    Check(std::equal(saved.begin(), saved.end(), book.Image().Bytes().begin()));
    MemoryImage out;
    out.Assign(saved);
    Check(out.TrailerMatches());
    MemoryImage empty;
    empty.ResetSlots();
    for (std::size_t k = 0; k < MemoryImage::kSlotCount; ++k) {
        const std::uint8_t* s = saved.data() + k * MemoryImage::kSlotSize;
        const std::uint8_t* blank = empty.Bytes().data() + k * MemoryImage::kSlotSize;
        if (k >= static_cast<std::size_t>(count)) {
            Check(std::equal(s, s + MemoryImage::kSlotSize, blank));
            continue;
        }
        // Slot index and number, both occupied flags, both mark copies, both
        // coordinate copies.
        Check(s[1] == k && s[7] == k + 1 && s[4] == 0x31 && s[8] == 0x31 && s[5] == s[9]);
        Check(std::equal(s + 12, s + 20, s + 20));
    }

    PointBook again;
    Check(again.Load(gOut) == Loaded::decoded);
    Check(again.GetCount() == count);
    for (int i = 0; i < count; ++i)
        Check(again.Entry(i) == AsStored(before[static_cast<std::size_t>(i)]));
    return 0;
}
