// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <QObject>
#include <QString>
#include <vector>

class QWidget;

namespace tovik {

class MainLayout;
class PointDocument;
class PointListCtrl;

// 検索: a field above the list of the edited points in the view shown (List1, or List3 in
// the file-import view) that hides the rows whose name and reading do not hold its text,
// compared folded (KanaFold) so that 「とうきょう」 finds 「ﾄｳｷｮｳ」. Rows are hidden in both
// views of the book and keep the book's numbers, so the commands still address entries and
// nothing saved depends on the filter; the commands that act on many rows (全て選択,
// 一括変換, 並べ替え, 重複の確認) take the rows shown. The selected point is always one
// that is shown: typing hides a selected row only after taking the selection off it, and a
// row a command selects (an undo, say) comes back into sight.
class PointFinder : public QObject {
    Q_OBJECT
public:
    PointFinder(PointDocument& document, PointListCtrl& editList, PointListCtrl& targetList, MainLayout& layout,
                QWidget& client);

    // Ctrl+F: shows the field and puts the cursor in it, its text selected.
    void Open();
    // Escape in the field: every row shown again, the field hidden, the list focused.
    void Close();

    bool IsShown(int row) const;
    // The rows shown, ascending: every row while nothing is looked for.
    std::vector<int> ShownRows() const;
    // Of `rows`, those that are shown.
    std::vector<int> Shown(const std::vector<int>& rows) const;
    // The nearest shown row above (step -1) or below (step 1) `row`, or -1.
    int ShownNeighbour(int row, int step) const;
    // Scrolls the edited points' list of the view shown to the selected point.
    void RevealSelected();

    QLineEdit& Field() { return field; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply();
    bool Matches(int row) const;
    void SetShown(int row, bool shown);
    // Signals that need the lists to have set themselves up first.
    void Watch();
    PointListCtrl& CurrentList();

    PointDocument& document;
    PointListCtrl& editList;
    PointListCtrl& targetList;
    MainLayout& layout;
    QLineEdit field;
    QString key;  // the field's text, folded
    bool watching = false;
};

}  // namespace tovik
