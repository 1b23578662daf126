// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QUrl>
#include <sys/stat.h>
#include <unistd.h>

#include "app/maindialog.h"
#include "core/pointbook.h"
#include "tests/support/qtprinters.h"
#include "tests/support/editorfixture.h"
#include "tests/core/testimages.h"
#include "tests/support/user.h"

namespace tovik {
namespace {

using Answer = Prompter::Answer;
using Bytes = std::vector<std::uint8_t>;

const QString kNotRegular = QStringLiteral("通常のファイルではありません（パイプ、デバイス、フォルダーなど）。");
const QString kNotUtf8 = QStringLiteral("ファイル名が UTF-8 ではないため、このファイルは扱えません。");

// Files that are not what they seem: FIFOs, names Qt cannot carry, files that another
// program changes behind the editor's back.
class HostileFilesTest : public test::EditorFixture {
protected:
    void TearDown() override { ::alarm(0); }

    // A .mem file of points with the given names.
    QString MemFile(const std::string& name, const std::vector<std::string>& names)
    {
        std::vector<PointEntry> points;
        for (const std::string& n : names)
            points.push_back(test::SimplePoint(n));
        EXPECT_TRUE(test::SavePoints(dir.File(name), points));
        return File(name);
    }
    QString File(const std::string& name) const { return QString::fromStdString(dir.File(name)); }
    QString Fifo(const std::string& name)
    {
        EXPECT_EQ(::mkfifo(dir.File(name).c_str(), 0644), 0);
        return File(name);
    }
    static void Choose(MainDialog& d, const char* menu, const char* item)
    {
        test::User::Choose(d, QString::fromUtf8(menu), QString::fromUtf8(item));
    }
    static void Save(MainDialog& d) { Choose(d, "ﾌｧｲﾙ(&F)", "上書き保存"); }
};

TEST_F(HostileFilesTest, AFifoDroppedOnList2ReturnsAtOnceWithTheMessageAndKeepsTheEdits)
{
    Start(MemFile("edited.mem", {"A", "B", "C"}));
    DeleteRow(0);
    ASSERT_TRUE(d->Document().IsModified());
    Choose(*d, "表示", "ファイル取りこみ画面");
    test::User::DropFiles(*d->ImportList().viewport(), {MemFile("import.mem", {"I1", "I2"})});
    ASSERT_EQ(Names(d->ImportList()), (QStringList{"I1", "I2"}));

    ::alarm(20);  // a drop that blocks in open ends the test instead of hanging it
    test::User::DropFiles(*d->ImportList().viewport(), {Fifo("fifo.mem")});
    ::alarm(0);
    EXPECT_EQ(prompter.Texts(), QStringList{kNotRegular});
    EXPECT_EQ(Names(d->ImportList()), (QStringList{"I1", "I2"}));
    EXPECT_TRUE(d->Document().IsModified());
    EXPECT_EQ(Names(d->TargetList()), (QStringList{"B", "C"}));
    EXPECT_EQ(book.GetCount(), 2);
}

TEST_F(HostileFilesTest, OpenDropAndStartUpRefuseAFifoAtOnce)
{
    const QString fifo = Fifo("fifo.mem");
    ::alarm(20);
    {
        Start(fifo);
        EXPECT_EQ(prompter.Texts(), QStringList{kNotRegular});
        EXPECT_EQ(d->Document().FilePath(), QString());
    }
    const QString start = MemFile("start.mem", {"A"});
    Start(start);
    prompter.shown.clear();
    prompter.openNames = {fifo};
    Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    test::User::DropFiles(*d, {fifo});
    ::alarm(0);
    EXPECT_EQ(prompter.Texts(), (QStringList{kNotRegular, kNotRegular}));
    EXPECT_EQ(d->Document().FilePath(), start);
    EXPECT_EQ(Names(d->EditList()), QStringList{"A"});
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.toStdString().c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(HostileFilesTest, NamesQtCannotCarryAreRefusedAndNeverReachAnotherFile)
{
    // 東京.mem in Shift_JIS reaches Qt as four U+FFFD; a file with that name also exists.
    const QUrl sjisUrl = QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(File(""), "/") + "%93%8C%8B%9E.mem");
    const std::string replacedName = "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.mem";
    const QString replaced = MemFile(replacedName, {"DECOY"});
    const Bytes decoy = test::ReadBytes(dir.File(replacedName));
    ASSERT_EQ(sjisUrl.toLocalFile(), replaced);
    const QString problem = replaced + "\n" + kNotUtf8;

    {
        Start(replaced);  // the start-up argument, as QApplication decodes it
        EXPECT_EQ(d->Document().FilePath(), QString());
        EXPECT_EQ(d->EditList().GetItemCount(), 0);
    }
    Start(MemFile("edited.mem", {"A", "B"}));
    DeleteRow(0);
    test::User::DropUrls(*d, {sjisUrl});
    Choose(*d, "表示", "ファイル取りこみ画面");
    test::User::DropUrls(*d->ImportList().viewport(), {sjisUrl});
    prompter.answers = {Answer::no};  // 開く asks about the edits before its dialog
    prompter.openNames = {replaced};
    Choose(*d, "ﾌｧｲﾙ(&F)", "開く");
    prompter.saveNames = {replaced};
    Choose(*d, "ﾌｧｲﾙ(&F)", "名前を付けて保存");

    EXPECT_EQ(prompter.Texts(), (QStringList{problem, problem, problem, File("edited.mem") + "は変更されています。保存しますか？",
                                             problem, problem}));
    EXPECT_EQ(d->ImportList().GetItemCount(), 0);
    EXPECT_EQ(Names(d->EditList()), QStringList{"B"});
    EXPECT_EQ(d->Document().FilePath(), File("edited.mem"));
    EXPECT_TRUE(d->Document().IsModified());
    EXPECT_EQ(test::ReadBytes(dir.File(replacedName)), decoy);
}

TEST_F(HostileFilesTest, SaveAsksBeforeOverwritingAFileAnotherProgramChanged)
{
    const QString path = MemFile("shared.mem", {"A", "B"});
    Start(path);
    DeleteRow(0);
    PointBook other;  // another program adds a point meanwhile
    ASSERT_EQ(other.Load(path.toStdString()), Loaded::decoded);
    other.InsertEntry(2, test::SimplePoint("THEIRS"));
    ASSERT_TRUE(other.Save(path.toStdString()));
    const Bytes theirs = test::ReadBytes(path.toStdString());

    prompter.answers = {Answer::no};
    Save(*d);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, path + "は他のプログラムで変更されています。上書きしますか？");
    EXPECT_EQ(prompter.shown[0].buttons, Prompter::Buttons::yesNo);
    EXPECT_EQ(test::ReadBytes(path.toStdString()), theirs);
    EXPECT_TRUE(d->Document().IsModified());
    EXPECT_EQ(Names(d->EditList()), QStringList{"B"});

    // The close prompt's Yes asks the same; No keeps the window open with the edits.
    prompter.answers = {Answer::yes, Answer::no};
    d->close();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(test::ReadBytes(path.toStdString()), theirs);

    prompter.shown.clear();
    prompter.answers = {Answer::yes};
    Save(*d);
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_FALSE(d->Document().IsModified());
    PointBook check;
    ASSERT_EQ(check.Load(path.toStdString()), Loaded::decoded);
    EXPECT_EQ(check.GetCount(), 1);

    // Unchanged since this save: the next one asks nothing.
    prompter.shown.clear();
    DeleteRow(0);
    Save(*d);
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(d->Document().IsModified());
}

}  // namespace
}  // namespace tovik
