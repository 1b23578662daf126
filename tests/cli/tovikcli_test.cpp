#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "qtprinters.h"
#include "testimages.h"
#include "tovikcli.h"

namespace tovik {
namespace {

using Bytes = std::vector<std::uint8_t>;

class CliTest : public ::testing::Test {
protected:
    int Run(QStringList arguments)
    {
        out.clear();
        err.clear();
        QTextStream o(&out), e(&err);
        TovikCli cli(o, e);
        const int code = cli.Run(arguments);
        o.flush();
        e.flush();
        return code;
    }
    QString File(const char* name) const { return QString::fromStdString(dir.File(name)); }
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
        {{"--name", "Café"}, "--name: 「é」は本体に保存できない文字です。「e」なら保存できます。"},
        {{"--reading", "😀"}, "--reading: 「😀」は本体に保存できない文字です。"},
        {{"--name", "two\nlines"}, "--name: 制御文字は本体に保存できません。"},
        {{"--latitude", "35.681236"},
         "--latitude: 北緯は「35.39.31.0」（度.分.秒.ミリ秒、90 度まで）の形で入力してください。"},
        {{"--longitude", "139.75.0"},
         "--longitude: 東経は「139.45.30.500」（度.分.秒.ミリ秒、180 度まで）の形で入力してください。"},
        {{"--telephone", "090-1234-56789"}, "--telephone: 電話番号は数字 10 桁までしか本体に保存できません。"},
        {{"--mark", "26"}, "--mark: 0 から 25 までの整数を入力してください。"},
        {{"--mark", "x5"}, "--mark: 0 から 25 までの整数を入力してください。"},
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

}  // namespace
}  // namespace tovik
