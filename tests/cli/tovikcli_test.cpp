// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fcntl.h>
#include <thread>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "tests/cli/cliprocess.h"
#include "tests/support/clirun.h"
#include "cli/clitext.h"
#include "core/pointbook.h"
#include "tests/support/qtprinters.h"
#include "tests/core/testimages.h"

namespace tovik {
namespace {

using Bytes = std::vector<std::uint8_t>;

mode_t TypeOf(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

class CliTest : public ::testing::Test {
protected:
    int Run(const QStringList& arguments) { return test::RunCli(arguments, out, err); }
    QString File(const std::string& name) const { return CliText::FromArgument(dir.File(name)); }
    QJsonArray Json(const QString& path)
    {
        EXPECT_EQ(Run({"show", "--json", path}), 0) << err.toStdString();
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(out.toUtf8(), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << out.toStdString();
        return doc.array();
    }
    // Adds the Tokyo Tower point to a new file.
    QString TokyoTowerFile()
    {
        const QString path = File("tower.mem");
        EXPECT_EQ(Run({"new", path}), 0);
        EXPECT_EQ(Run({"add", path, "--name", "東京タワー", "--reading", "ﾄｳｷｮｳﾀﾜｰ", "--longitude",
                       "139.44.45.500", "--latitude", "35.39.31", "--telephone", "03-1234-5678",
                       "--mark=3"}),
                  0)
            << err.toStdString();
        return path;
    }

    test::TempDir dir;
    QString out, err;
};

TEST_F(CliTest, NewWritesAnEmptyImageAndKeepsExistingFiles)
{
    ASSERT_EQ(Run({"new", File("e.mem")}), 0);
    const Bytes bytes = test::ReadBytes(dir.File("e.mem"));
    ASSERT_EQ(bytes.size(), 9604u);
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), (Bytes{0xA5, 0xA4, 0xE0, 0xD3}));

    test::WriteBytes(dir.File("keep.mem"), test::ImageWithOccupiedSlots({1}));
    EXPECT_EQ(Run({"new", File("keep.mem")}), 1);
    EXPECT_TRUE(err.contains("already exists"));
    EXPECT_EQ(test::ReadBytes(dir.File("keep.mem")), test::ImageWithOccupiedSlots({1}));
    EXPECT_EQ(Run({"new", "--force", File("keep.mem")}), 0);
    EXPECT_EQ(test::ReadBytes(dir.File("keep.mem")), bytes);
}

TEST_F(CliTest, AddBuildsTheWorkedExampleByteForByte)
{
    const QString path = TokyoTowerFile();
    const Bytes bytes = test::ReadBytes(dir.File("tower.mem"));
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), (Bytes{0xA5, 0xA4, 0xC8, 0x10}));

    const QJsonArray points = Json(path);
    ASSERT_EQ(points.size(), 1);
    const QJsonObject p = points[0].toObject();
    EXPECT_EQ(p.keys().size(), 15);
    EXPECT_EQ(p["name"].toString(), QString("東京タワー"));
    EXPECT_EQ(p["reading"].toString(), QString("ﾄｳｷｮｳﾀﾜｰ"));
    EXPECT_EQ(p["longitude"].toInt(), 2012340);
    EXPECT_EQ(p["longitudeFraction"].toInt(), 125);
    EXPECT_EQ(p["latitude"].toInt(), 513484);
    EXPECT_EQ(p["latitudeFraction"].toInt(), 0);
    EXPECT_EQ(p["mark"].toInt(), 3);
    EXPECT_EQ(p["distance"].toInt(), 4);
    EXPECT_EQ(p["category"].toInt(), 3);
    EXPECT_EQ(p["telephone"].toString(), QString("0312345678"));
    EXPECT_EQ(p["longitudeText"].toString(), QString("139.44.45.500"));
    EXPECT_EQ(p["latitudeText"].toString(), QString(" 35.39.31.0"));
    EXPECT_EQ(p["markText"].toString(), QString("3"));
    EXPECT_EQ(p["distanceText"].toString(), QString("400"));
    EXPECT_EQ(p["categoryText"].toString(), QString("3"));
}

TEST_F(CliTest, ShowAlignsColumnsByDisplayWidth)
{
    const QString path = TokyoTowerFile();
    ASSERT_EQ(Run({"add", path, "--name", "AB", "--reading", "ｱｲｳｴｵｶｷｸｹｺ", "--mark", "12"}), 0);
    ASSERT_EQ(Run({"show", path}), 0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QString("東京タワー  139.44.45.500   35.39.31.0  3   ﾄｳｷｮｳﾀﾜｰ    0312345678  400  3"));
    EXPECT_EQ(lines[1], QString("AB           00.00.00.0     00.00.00.0  12  ｱｲｳｴｵｶｷｸｹｺ              0    0"));
}

TEST_F(CliTest, ShowOfAnEmptyFileIsAnEmptyList)
{
    ASSERT_EQ(Run({"new", File("e.mem")}), 0);
    EXPECT_EQ(Run({"show", File("e.mem")}), 0);
    EXPECT_EQ(out, QString());
    EXPECT_EQ(Json(File("e.mem")).size(), 0);
}

TEST_F(CliTest, RewriteMovesPointsToTheFirstSlots)
{
    test::WriteBytes(dir.File("sparse.mem"), test::ImageWithOccupiedSlots({3, 10, 57}));
    ASSERT_EQ(Run({"rewrite", File("sparse.mem"), File("dense.mem")}), 0) << err.toStdString();
    const Bytes out = test::ReadBytes(dir.File("dense.mem"));
    for (std::size_t k = 0; k < 100; ++k) {
        EXPECT_EQ(out[k * 96 + 4], k < 3 ? 0x31 : 0) << k;
        EXPECT_EQ(out[k * 96 + 7], k < 3 ? k + 1 : 0) << k;
    }
    EXPECT_EQ(std::string(out.begin() + 96 * 2 + 28, out.begin() + 96 * 2 + 31), "S57");
}

TEST_F(CliTest, RewriteAndImportWriteOnlyNamesTovikOpensUnlessForced)
{
    const QString tower = TokyoTowerFile();
    test::WriteBytes(dir.File("keep.txt"), {'o', 'l', 'd'});
    for (const QStringList& command : {QStringList{"rewrite", tower, File("keep.txt")},
                                       QStringList{"import", File("keep.txt"), tower},
                                       QStringList{"import", "--append", File("keep.txt"), tower}}) {
        EXPECT_EQ(Run(command), 1) << command.join(' ').toStdString();
        EXPECT_TRUE(err.contains("keep.txt: does not end in .mem, so Tovik would not open it again; add .mem to the "
                                 "name, or use --force")) << err.toStdString();
        EXPECT_EQ(test::ReadBytes(dir.File("keep.txt")), (Bytes{'o', 'l', 'd'}));
    }
    EXPECT_EQ(Run({"rewrite", tower, File("COPY.MEM")}), 0) << err.toStdString();
    EXPECT_EQ(Run({"rewrite", "--force", tower, File("keep.txt")}), 0) << err.toStdString();
    EXPECT_EQ(Run({"import", "--force", File("copy.bin"), tower}), 0) << err.toStdString();
    EXPECT_EQ(test::ReadBytes(dir.File("keep.txt")), test::ReadBytes(dir.File("COPY.MEM")));
    EXPECT_EQ(test::ReadBytes(dir.File("copy.bin")), test::ReadBytes(dir.File("COPY.MEM")));
}

TEST_F(CliTest, DamagedTrailerIsRejected)
{
    Bytes bytes = test::ImageWithOccupiedSlots({3});
    bytes[9601] ^= 0x10;
    test::WriteBytes(dir.File("bad.mem"), bytes);
    for (const QStringList& args : {QStringList{"check", File("bad.mem")}, QStringList{"show", File("bad.mem")},
                                    QStringList{"rewrite", File("bad.mem"), File("out.mem")}}) {
        EXPECT_EQ(Run(args), 1);
        EXPECT_TRUE(err.contains("認識できないフォーマットです。")) << err.toStdString();
        EXPECT_TRUE(out.isEmpty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.mem")));
}

TEST_F(CliTest, CheckExplainsWhatIsWrong)
{
    test::WriteBytes(dir.File("good.MEM"), test::ImageWithOccupiedSlots({0}));
    test::WriteBytes(dir.File("good.bin"), test::ImageWithOccupiedSlots({0}));
    EXPECT_EQ(Run({"check", File("good.MEM")}), 0);
    EXPECT_EQ(out, QString("OK\n"));
    EXPECT_EQ(Run({"check", File("good.bin")}), 1);
    EXPECT_TRUE(err.contains("not decoded"));
    EXPECT_EQ(Run({"check", File("missing.mem")}), 1);
    EXPECT_TRUE(err.contains("ファイルが見つかりませんでした。"));
}

TEST_F(CliTest, AddRefusesTextsTheDialogWouldRefuseAndLeavesTheFile)
{
    const QString path = TokyoTowerFile();
    const Bytes before = test::ReadBytes(dir.File("tower.mem"));
    struct Case { QStringList args; const char* message; };
    const std::vector<Case> cases = {
        {{"--name", "東京タワー展望台ｘ"}, "--name: 16 文字以内で入力してください。"},
        {{"--reading", "12345678901234567"}, "--reading: 16 文字以内で入力してください。"},
        {{"--telephone", "03-1234-5678-90"}, "--telephone: 14 文字以内で入力してください。"},
        {{"--mark", "100"}, "--mark: 2 文字以内で入力してください。"},
        {{"--name", "Café"}, "--name: 「地点名称」の「é」は本体に保存できない文字です。「e」なら保存できます。"},
        {{"--reading", "😀"}, "--reading: 「フリガナ」の「😀」は本体に保存できない文字です。"},
        {{"--name", "two\nlines"}, "--name: 制御文字は本体に保存できません。"},
        {{"--latitude", "35.681236"},
         "--latitude: 北緯は「35.39.31.0」（度.分.秒.ミリ秒、90 度まで）の形で入力してください。"},
        {{"--longitude", "139.75.0"},
         "--longitude: 東経は「139.45.30.500」（度.分.秒.ミリ秒、180 度まで）の形で入力してください。"},
        {{"--telephone", "090-1234-56789"}, "--telephone: 電話番号は数字 10 桁までしか本体に保存できません。"},
        {{"--mark", "26"}, "--mark: 「マーク」は 0 から 25 までの整数を入力してください。"},
        {{"--mark", "x5"}, "--mark: 「マーク」は 0 から 25 までの整数を入力してください。"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(QStringList{"add", path} + c.args), 1);
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.message))) << err.toStdString();
        EXPECT_EQ(test::ReadBytes(dir.File("tower.mem")), before);
    }
    // Eight double-byte characters fill a 16-byte field exactly.
    EXPECT_EQ(Run({"add", path, "--name", "東京タワー展望台"}), 0);
    EXPECT_EQ(Json(path)[1].toObject()["name"].toString(), QString("東京タワー展望台"));
}

TEST_F(CliTest, AddTakesWhatAJapaneseInputMethodTypes)
{
    const QString path = File("ime.mem");
    ASSERT_EQ(Run({"new", path}), 0);
    ASSERT_EQ(Run({"add", path, "--name", "〜", "--telephone", "０３－１２３４－５６７８", "--latitude",
                   "３５．４１．２０", "--mark", "１２"}),
              0)
        << err.toStdString();
    const Bytes image = test::ReadBytes(dir.File("ime.mem"));
    EXPECT_EQ(Bytes(image.begin() + 28, image.begin() + 31), (Bytes{0x81, 0x60, 0x00}));
    const QJsonObject point = Json(path)[0].toObject();
    EXPECT_EQ(point["telephone"].toString(), QString("0312345678"));
    EXPECT_EQ(point["latitudeText"].toString(), QString(" 35.41.20.0"));
    EXPECT_EQ(point["mark"].toInt(), 12);
}

TEST_F(CliTest, AddRefusesTheHundredAndFirstPoint)
{
    const QString path = File("full.mem");
    ASSERT_EQ(Run({"new", path}), 0);
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(Run({"add", path, "--name", QString("P%1").arg(i)}), 0);
    const Bytes before = test::ReadBytes(dir.File("full.mem"));
    EXPECT_EQ(Run({"add", path, "--name", "extra"}), 1);
    EXPECT_TRUE(err.contains("１００地点以上は登録出来ません。"));
    EXPECT_EQ(test::ReadBytes(dir.File("full.mem")), before);
    EXPECT_EQ(Json(path).size(), 100);
}

TEST_F(CliTest, AddAppliesTheMarkRule)
{
    const QString path = File("m.mem");
    ASSERT_EQ(Run({"new", path}), 0);
    ASSERT_EQ(Run({"add", path}), 0);
    ASSERT_EQ(Run({"add", path, "--mark", "8"}), 0);
    ASSERT_EQ(Run({"add", path, "--mark", "5"}), 0);
    const QJsonArray p = Json(path);
    ASSERT_EQ(p.size(), 3);
    auto field = [&](int i, const char* key) { return p[i].toObject()[key].toInt(); };
    EXPECT_EQ(field(0, "mark"), 0);
    EXPECT_EQ(field(0, "distance"), 0);
    EXPECT_EQ(field(1, "mark"), 8);
    EXPECT_EQ(field(1, "category"), 0);
    EXPECT_EQ(field(2, "distance"), 4);
    EXPECT_EQ(field(2, "category"), 5);
    EXPECT_EQ(p[0].toObject()["telephone"].toString(), QString());
}

TEST_F(CliTest, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(Run({}), 2);
    EXPECT_EQ(Run({"frobnicate"}), 2);
    EXPECT_EQ(Run({"show"}), 2);
    EXPECT_EQ(Run({"add", File("x.mem"), "--colour", "red"}), 2);
    EXPECT_EQ(Run({"add", File("x.mem"), "--name"}), 2);
    EXPECT_TRUE(err.contains("--help"));
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_TRUE(out.contains("Exit codes"));
}

TEST_F(CliTest, SpecialFilesAreRefusedAtOnceAndLeftAsTheyAre)
{
    ::alarm(20);  // a command that blocks on the FIFO ends the test instead of hanging it
    ASSERT_EQ(Run({"new", File("good.mem")}), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo.mem").c_str(), 0644), 0);
    std::vector<std::string> nodes = {"fifo.mem"};
    // x.mem -> a twin of /dev/null: a save must never turn the node into a file.
    if (::mknod(dir.File("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0 &&
        ::symlink("null", dir.File("x.mem").c_str()) == 0)
        nodes.push_back("x.mem");
    for (const std::string& node : nodes) {
        const QString path = File(node);
        for (const QStringList& args : {QStringList{"check", path}, QStringList{"show", path},
                                        QStringList{"add", path, "--name", "A"},
                                        QStringList{"rewrite", File("good.mem"), path},
                                        QStringList{"rewrite", path, File("out.mem")},
                                        QStringList{"new", "--force", path}}) {
            EXPECT_EQ(Run(args), 1) << args.join(' ').toStdString();
            EXPECT_TRUE(err.contains("通常のファイルではありません")) << err.toStdString();
        }
    }
    ::alarm(0);
    EXPECT_EQ(TypeOf(dir.File("fifo.mem")), S_IFIFO);
    if (nodes.size() > 1) {
        EXPECT_EQ(TypeOf(dir.File("null")), S_IFCHR);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.mem")));
}

TEST_F(CliTest, AFileNameThatIsNotUtf8NamesThatFileAndNoOther)
{
    // 東京.mem in Shift_JIS, and what a decoder that replaces bad bytes would make of it.
    const std::string sjis = "\x93\x8C\x8B\x9E.mem";
    const std::string replaced = "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.mem";
    ASSERT_EQ(Run({"new", File(replaced)}), 0);
    ASSERT_EQ(Run({"add", File(replaced), "--name", "decoy"}), 0);
    const Bytes decoy = test::ReadBytes(dir.File(replaced));

    EXPECT_EQ(Run({"show", File(sjis)}), 1);
    EXPECT_TRUE(err.contains("\\x93\\x8c\\x8b\\x9e.mem: ファイルが見つかりませんでした。")) << err.toStdString();
    EXPECT_EQ(Run({"add", File(sjis), "--name", "real"}), 1);
    EXPECT_EQ(Run({"new", File(sjis)}), 0);
    EXPECT_EQ(Run({"add", File(sjis), "--name", "real"}), 0);
    EXPECT_EQ(Run({"rewrite", File(sjis), File(sjis)}), 0);
    EXPECT_EQ(Json(File(sjis))[0].toObject()["name"].toString(), QString("real"));
    EXPECT_EQ(test::ReadBytes(dir.File(replaced)), decoy);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{sjis, replaced}));
}

TEST_F(CliTest, ArgumentBytesComeBackAsGiven)
{
    const std::vector<std::string> cases = {
        "plain.mem", "\xE6\x9D\xB1\xE4\xBA\xAC.mem", "\x93\x8C\x8B\x9E", "\xF0\x9F\x97\xBC\x80",
        "\xED\xA0\x80",  // a surrogate written as UTF-8 is not valid UTF-8
        "\xC0\xAF", std::string("\xE6\x9D", 2), "\xFF\xFE",
    };
    for (const std::string& bytes : cases)
        EXPECT_EQ(CliText::ToPath(CliText::FromArgument(bytes)), bytes);
    EXPECT_EQ(CliText::FromArgument("\xE6\x9D\xB1\xE4\xBA\xAC"), QString("東京"));
    EXPECT_EQ(CliText::Printable(CliText::FromArgument("a\tb\x1B[2J\x7F\xC2\x9B\x93")),
              QString("a\\tb\\x1b[2J\\x7f\\x9b\\x93"));
}

TEST_F(CliTest, ShowKeepsEveryPointOnItsLineAndEscapesFromTheTerminal)
{
    // Texts that add refuses, in a file written elsewhere.
    PointBook book;
    PointEntry e = test::SimplePoint("a\nb");
    e.reading = "\x1B[31mR";
    book.InsertEntry(0, e);
    book.InsertEntry(1, test::SimplePoint("c"));
    ASSERT_TRUE(book.Save(dir.File("c.mem")));
    const QString path = File("c.mem");
    ASSERT_EQ(Run({"show", path}), 0);
    const QStringList lines = out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("a\\nb  ")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("\\x1b[31mR")) << lines[0].toStdString();
    EXPECT_FALSE(out.contains(QChar(0x1B)));
    EXPECT_EQ(Json(path)[0].toObject()["reading"].toString(), QString("\x1B[31mR"));
    EXPECT_TRUE(out.contains("\\u001b[31mR"));
}

TEST_F(CliTest, DoubleDashEndsTheOptions)
{
    ASSERT_EQ(Run({"new", "--", File("--x.mem")}), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("--x.mem")));
    EXPECT_EQ(Run({"add", File("--x.mem"), "--name", "P", "--", "--mark"}), 2);  // one FILE only
    EXPECT_EQ(Run({"check", "--", File("--x.mem")}), 0);
    const QString cwd = QString::fromStdString(std::filesystem::current_path().string());
    std::filesystem::current_path(dir.Path());
    EXPECT_EQ(Run({"show", "--", "--x.mem"}), 0) << err.toStdString();
    EXPECT_EQ(Run({"show", "--x.mem"}), 2);
    std::filesystem::current_path(cwd.toStdString());
}

TEST_F(CliTest, SymbolicLinksAsTargets)
{
    ASSERT_EQ(::symlink("target.mem", dir.File("dangling.mem").c_str()), 0);
    EXPECT_EQ(Run({"new", File("dangling.mem")}), 1);
    EXPECT_TRUE(err.contains("already exists"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("target.mem")));
    EXPECT_EQ(Run({"new", "--force", File("dangling.mem")}), 0);
    EXPECT_EQ(TypeOf(dir.File("dangling.mem")), S_IFLNK);
    EXPECT_EQ(TypeOf(dir.File("target.mem")), S_IFREG);

    ASSERT_EQ(::symlink("loop2.mem", dir.File("loop1.mem").c_str()), 0);
    ASSERT_EQ(::symlink("loop1.mem", dir.File("loop2.mem").c_str()), 0);
    EXPECT_EQ(Run({"new", "--force", File("loop1.mem")}), 1);
    EXPECT_TRUE(err.contains("シンボリックリンクが循環しています。")) << err.toStdString();
    EXPECT_EQ(Run({"rewrite", File("target.mem"), File("loop2.mem")}), 1);
    EXPECT_EQ(TypeOf(dir.File("loop1.mem")), S_IFLNK);

    EXPECT_EQ(Run({"new", File(std::string(300, 'n') + ".mem")}), 1);
    EXPECT_TRUE(err.contains("ファイル名が長すぎます。")) << err.toStdString();
}

TEST_F(CliTest, AnotherAddDuringAnUpdateWaitsAndLosesNothing)
{
    const std::string path = dir.File("shared.mem");
    ASSERT_EQ(Run({"new", File("shared.mem")}), 0);
    // While this process is between its read and its save, another tovik-cli adds a point.
    auto runWithRival = [&](const QStringList& args, const std::string& rivalName) {
        pid_t rival = -1;
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        TovikCli cli(o, e);
        cli.SetPauseBeforeSave([&] {
            rival = test::StartCli({"add", path, "--name", rivalName});
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        });
        EXPECT_EQ(cli.Run(args), 0);
        EXPECT_EQ(test::ExitCodeOf(rival), 0);
    };
    runWithRival({"add", File("shared.mem"), "--name", "mine"}, "rival1");
    runWithRival({"rewrite", File("shared.mem"), File("shared.mem")}, "rival2");
    QStringList names;
    for (const QJsonValue& p : Json(File("shared.mem")))
        names << p.toObject()["name"].toString();
    EXPECT_EQ(names, (QStringList{"mine", "rival1", "rival2"}));
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"shared.mem"});
}

}  // namespace
}  // namespace tovik
