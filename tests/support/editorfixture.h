// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "app/maindialog.h"
#include "core/pointbook.h"
#include "tests/core/testimages.h"
#include "tests/support/scriptedprompter.h"

namespace tovik::test {

// The editor as a user meets it: started on a file (or none), shown and active, with the
// questions and dialogs it asks answered from a script.
class EditorFixture : public ::testing::Test {
protected:
    void TearDown() override { d.reset(); }

    // Starts the editor on `file`; an empty text starts it without one.
    void Start(const QString& file = {});
    // Starts it on a file of points named so (marks 0, 1, 2, ...), or of these points.
    void StartWith(const QStringList& names);
    void StartWithPoints(const std::vector<PointEntry>& points);

    QString File(const char* name) const { return QString::fromStdString(dir.File(name)); }
    // A .mem file holding `points` in order.
    QString Mem(const char* name, const std::vector<PointEntry>& points);
    // A .mem file of points with the given names, marks 0, 1, 2, ...
    QString NamedMem(const char* name, const QStringList& names);

    // Unsaved changes as a user makes them: 削除 of a row, 追加 of a point typed in the
    // edit dialog (in front of the selected point, or last).
    void DeleteRow(int row);
    void AddPoint(const QString& name);
    bool Modified() const { return d->Document().IsModified(); }
    // Until the file-import view's file is read (a large one is read by a thread of its own).
    void WaitForReading();
    static void ClickOK(QDialog& dialog);

    PointListCtrl& List1() { return d->EditList(); }
    ImportListCtrl& List2() { return d->ImportList(); }
    PointListCtrl& List3() { return d->TargetList(); }
    static QStringList Names(const ListBase& list);
    QStringList BookNames() const;

    // What the user does in the next dialog the program opens. The dialog's result is what
    // the program gets; a dialog left open counts as cancelled.
    template <typename Dialog>
    void InDialog(std::function<void(Dialog&)> act)
    {
        prompter.dialogs.push_back([act](QDialog& dialog) {
            auto& e = dynamic_cast<Dialog&>(dialog);
            e.show();
            QApplication::setActiveWindow(&e);
            act(e);
            const int result = e.isVisible() ? QDialog::Rejected : e.result();
            e.hide();
            return result;
        });
    }

    TempDir dir;
    ScriptedPrompter prompter;
    PointBook book;
    std::unique_ptr<MainDialog> d;
};

}  // namespace tovik::test
