// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the starting corpora of the fuzzers: <dir>/image and <dir>/parsers.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/memoryimage.h"
#include "tests/core/testimages.h"

namespace {

using namespace tovik;
namespace fs = std::filesystem;

std::vector<std::uint8_t> ImageOf(const std::vector<PointEntry>& points)
{
    MemoryImage image;
    image.ResetSlots();
    for (std::size_t k = 0; k < points.size(); ++k)
        image.EncodeSlot(k, points[k]);
    image.StoreTrailer();
    return {image.Bytes().begin(), image.Bytes().end()};
}

void Append(std::vector<std::uint8_t>& bytes, const std::string& text)
{
    bytes.insert(bytes.end(), text.begin(), text.end());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const fs::path image = fs::path(argv[1]) / "image";
    const fs::path parsers = fs::path(argv[1]) / "parsers";
    const fs::path cli = fs::path(argv[1]) / "cli";
    fs::create_directories(image);
    fs::create_directories(parsers);
    fs::create_directories(cli);

    const std::vector<std::uint8_t> tokyo = ImageOf({test::TokyoTower()});
    std::vector<PointEntry> hundred;
    for (int k = 0; k < 100; ++k)
        hundred.push_back(test::SimplePoint("Point " + std::to_string(k), k));
    std::vector<std::uint8_t> damaged = tokyo;
    damaged.back() ^= 0x01;
    // Past the image: rename to a 20-byte name, insert, move, set a far longitude,
    // an 11-digit telephone and a mark, then remove (see ApplyEdits in fuzz_image.cpp).
    std::vector<std::uint8_t> edited = tokyo;
    Append(edited, std::string("\x00\x00", 2) + "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B" "ABCDEFGHIJ" "\xFF");
    Append(edited, "\x08\x01" "139.45.30.500\xFF");
    Append(edited, "\x0A\x01" "\xFF");
    Append(edited, "\x02\x00" "1165.59.59.999\xFF");
    Append(edited, "\x04\x01" "090-1234-56789\xFF");
    Append(edited, "\x05\x00" "x5\xFF");
    Append(edited, "\x09\x01");

    test::WriteBytes(image / "empty", ImageOf({}));
    test::WriteBytes(image / "tokyo-tower", tokyo);
    test::WriteBytes(image / "slots-3-10-57", test::ImageWithOccupiedSlots({3, 10, 57}));
    test::WriteBytes(image / "full", ImageOf(hundred));
    test::WriteBytes(image / "damaged-trailer", damaged);
    test::WriteBytes(image / "tokyo-tower-edited", edited);

    // A leading byte (the current mark and slot), then the texts.
    const std::vector<std::string> texts = {
        "139.45.30.500", "35'41'20", "03-1234-5678", "090-1234-5678", "25", "x5",
        "-35.41.20", "35.41.20.998", " +3", "2147483648",
        "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B\xFF\xC4\xB3\xB7\xAE\xB3\xC0\xDC\xB0\xFF"
        "139.44.45.500\xFF" "35.39.31\xFF" "03-1234-5678\xFF" "3",
    };
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(7 + i * 13)};
        Append(bytes, texts[i]);
        test::WriteBytes(parsers / ("text-" + std::to_string(i)), bytes);
    }

    // A verb number (show, check, new, rewrite, add), then arguments split by zero bytes.
    using namespace std::string_literals;
    const std::vector<std::string> lines = {
        "\x00p.mem"s, "\x00--json\0link.mem"s, "\x01" "fifo.mem"s, "\x00--\0--x.mem"s,
        "\x02--force\0fifo.mem"s, "\x02" "dangling.mem"s, "\x02--force\0loop.mem"s,
        "\x02\x93\x8C\x8B\x9E.mem"s, "\x03p.mem\0p.mem"s, "\x03link.mem\0new.MEM"s,
        "\x04p.mem\0--name\0a\nb\x1B[2J\0--mark=3"s, "\x04link.mem\0--telephone\0" "03-1234-5678"s,
    };
    for (std::size_t i = 0; i < lines.size(); ++i)
        test::WriteBytes(cli / ("line-" + std::to_string(i)), {lines[i].begin(), lines[i].end()});
    return 0;
}
