// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <vector>

#include "core/duplicategroups.h"
#include "core/pointentry.h"
#include "core/pointplaces.h"

namespace tovik {

// 重複の確認: the groups of points that lie within a distance of each other or have the
// same name (SamePoints), each with the largest distance within it and every point's
// distance from the group's first. The distance can be changed and the groups follow.
// 一覧で選択 ends the dialog choosing a group (or one point of it), 先頭以外にチェック
// choosing every point but the first of each group; the caller acts on the choice.
class DuplicateDialog : public QDialog {
    Q_OBJECT
public:
    enum class Choice { none, group, allButFirst };

    // `rows` are the book's row numbers of `entries`; `places` their positions.
    DuplicateDialog(std::vector<int> rows, std::vector<PointEntry> entries, PointPlaces places, double metres,
                    QWidget* parent = nullptr);

    double Metres() const { return distance.value(); }
    // The groups at the distance shown, in the book's row numbers.
    const std::vector<DuplicateGroup>& Groups() const { return groups; }

    Choice Chosen() const { return chosen; }
    // For Choice::group the group's rows and the point chosen in it (its first row when
    // the group itself was chosen); for Choice::allButFirst the rows to tick.
    const std::vector<int>& ChosenRows() const { return chosenRows; }
    int ChosenPoint() const { return chosenPoint; }

    QSpinBox& DistanceField() { return distance; }
    QTreeWidget& GroupList() { return list; }

private:
    void Regroup();
    void ChooseGroup();
    void ChooseAllButFirst();
    void UpdateButtons();

    std::vector<int> rows;
    std::vector<PointEntry> entries;
    PointPlaces places;
    std::vector<DuplicateGroup> groups;
    Choice chosen = Choice::none;
    std::vector<int> chosenRows;
    int chosenPoint = -1;

    QLabel distanceCaption;
    QSpinBox distance;
    QLabel summary;
    QTreeWidget list;
    QPushButton groupButton;
    QPushButton allButFirstButton;
    QPushButton closeButton;
};

}  // namespace tovik
