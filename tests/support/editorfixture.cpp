// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/editorfixture.h"

#include <QTest>

#include "editing/pointeditdialog.h"
#include "platform/cp932.h"
#include "tests/support/user.h"

namespace tovik::test {

void EditorFixture::Start(const QString& file)
{
    d.reset();  // one window on the book at a time, as the program has
    d = std::make_unique<MainDialog>(book, prompter, file);
    d->show();
    QApplication::setActiveWindow(d.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(d.get()));
}

void EditorFixture::StartWithPoints(const std::vector<PointEntry>& points)
{
    Start(Mem("edited.mem", points));
    ASSERT_EQ(book.GetCount(), static_cast<int>(points.size()));
}

void EditorFixture::StartWith(const QStringList& names)
{
    Start(NamedMem("edited.mem", names));
    ASSERT_EQ(book.GetCount(), names.size());
}

void EditorFixture::WaitForReading()
{
    for (int waited = 0; d->Exchange().Reading().Busy() && waited < 60000; waited += 10)
        QTest::qWait(10);
    ASSERT_FALSE(d->Exchange().Reading().Busy());
}

void EditorFixture::DeleteRow(int row)
{
    User::ClickRow(List1(), row);
    User::Click(User::Button(*d, QStringLiteral("削除")));
}

void EditorFixture::ClickOK(QDialog& dialog) { User::Click(User::Button(dialog, QStringLiteral("OK"))); }

void EditorFixture::AddPoint(const QString& name)
{
    InDialog<PointEditDialog>([name](PointEditDialog& e) {
        User::Type(e.NameField(), name);
        ClickOK(e);
    });
    User::Click(User::Button(*d, QStringLiteral("追加")));
}

QString EditorFixture::Mem(const char* name, const std::vector<PointEntry>& points)
{
    EXPECT_TRUE(SavePoints(dir.File(name), points));
    return File(name);
}

QString EditorFixture::NamedMem(const char* name, const QStringList& names)
{
    std::vector<PointEntry> points;
    for (int i = 0; i < names.size(); ++i)
        points.push_back(SimplePoint(names[i].toStdString(), i));
    return Mem(name, points);
}

QStringList EditorFixture::Names(const ListBase& list)
{
    QStringList names;
    for (int r = 0; r < list.GetItemCount(); ++r)
        names << list.GetItemText(r, 0);
    return names;
}

QStringList EditorFixture::BookNames() const
{
    QStringList names;
    for (int i = 0; i < book.GetCount(); ++i)
        names << Cp932::Decode(book.GetName(i));
    return names;
}

}  // namespace tovik::test
