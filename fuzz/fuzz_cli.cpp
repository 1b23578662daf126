// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary command lines through tovik-cli's argument handling, file names of random
// bytes included, against a folder that holds what a hostile user leaves lying about.
//
// Input: the first byte picks the verb; the rest are the arguments, separated by zero
// bytes (which no argument can hold). Every argument is kept as the bytes given, except
// that '/' becomes '_' and "." and ".." get a letter in front: every name stays inside
// the fuzzer's own temporary folder, the working directory of the run.
//
// The folder is made afresh for each input: p.mem (a point memory), fifo.mem (a FIFO),
// link.mem -> p.mem, dangling.mem -> nothere.mem and loop.mem -> loop.mem.

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "cli/clitext.h"
#include "fuzz/fuzzcheck.h"
#include "core/memoryimage.h"
#include "core/pointbook.h"
#include "cli/tovikcli.h"

namespace {

using namespace tovik;
using fuzz::Check;
namespace fs = std::filesystem;

constexpr std::array<const char*, 8> kVerbs = {"show", "check", "new", "rewrite", "add", "--help", "--version", "frobnicate"};

fs::path folder;

void MakeFolder()
{
    for (const auto& entry : fs::directory_iterator(folder))
        fs::remove_all(entry.path());
    PointBook book;
    book.InsertEntry(0, PointEntry::FromTexts("P", "", "139.44.45", "35.39.31", "0312345678", "3"));
    Check(static_cast<bool>(book.Save("p.mem")));
    Check(::mkfifo("fifo.mem", 0644) == 0);
    Check(::symlink("p.mem", "link.mem") == 0);
    Check(::symlink("nothere.mem", "dangling.mem") == 0);
    Check(::symlink("loop.mem", "loop.mem") == 0);
}

mode_t TypeOf(const char* path)
{
    struct stat st {};
    return ::lstat(path, &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// Nothing a command prints may move the terminal's cursor but a line break.
bool PrintsSafely(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n') || (u >= 0x7F && u <= 0x9F))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::string pattern = (fs::temp_directory_path() / "tovik-fuzz-cli-XXXXXX").string();
    Check(::mkdtemp(pattern.data()) != nullptr);
    folder = pattern;
    Check(::chdir(folder.c_str()) == 0);
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    MakeFolder();

    std::vector<std::string> arguments;
    if (size > 1)
        arguments.emplace_back();
    for (std::size_t i = 1; i < size; ++i) {
        if (data[i] == 0)
            arguments.emplace_back();
        else
            arguments.back() += static_cast<char>(data[i] == '/' ? '_' : data[i]);
    }
    QStringList line{QString::fromLatin1(kVerbs[data[0] % kVerbs.size()])};
    for (std::string& a : arguments) {
        if (a == "." || a == "..")
            a.insert(0, "x");
        const QString text = CliText::FromArgument(a);
        Check(CliText::ToPath(text) == a);
        line << text;
    }

    QString out, err;
    QTextStream o(&out), e(&err);
    TovikCli cli(o, e);
    const int code = cli.Run(line);
    o.flush();
    e.flush();
    Check(code == 0 || code == 1 || code == 2);
    Check(PrintsSafely(out) && PrintsSafely(err));

    // Special files and links are what they were; every file is a whole point memory
    // (whatever its name), and no temporary is left (a file the command line itself named
    // like one is the user's own).
    Check(TypeOf("fifo.mem") == S_IFIFO);
    for (const char* link : {"link.mem", "dangling.mem", "loop.mem"})
        Check(TypeOf(link) == S_IFLNK);
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        Check(!name.starts_with(FileAccess::kTemporaryPrefix) ||
              std::find(arguments.begin(), arguments.end(), name) != arguments.end());
        if (!entry.is_symlink() && entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            Check(bytes.size() == MemoryImage::kSize);
            MemoryImage image;
            image.Assign(bytes);
            Check(image.TrailerMatches());
        }
    }
    return 0;
}
