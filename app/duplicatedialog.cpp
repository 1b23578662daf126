// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/duplicatedialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "platform/cp932.h"
#include "platform/samepoints.h"

namespace tovik {

namespace {

constexpr int kGroupRole = Qt::UserRole;
constexpr int kRowRole = Qt::UserRole + 1;
constexpr int kLargestMetres = 100000;

QString MetresText(const std::optional<double>& metres)
{
    return metres ? QString::number(*metres, 'f', 1) : QStringLiteral("—");
}

}  // namespace

DuplicateDialog::DuplicateDialog(std::vector<int> rows, std::vector<PointEntry> entries, PointPlaces places,
                                 double metres, QWidget* parent)
    : QDialog(parent),
      rows(std::move(rows)),
      entries(std::move(entries)),
      places(std::move(places)),
      distanceCaption(QStringLiteral("この距離 (m) 以内の地点と、同じ名称の地点を重複とします(&D):"), this),
      distance(this),
      summary(this),
      list(this),
      groupButton(QStringLiteral("一覧で選択"), this),
      allButFirstButton(QStringLiteral("先頭以外にチェック"), this),
      closeButton(QStringLiteral("閉じる"), this)
{
    setWindowTitle(QStringLiteral("重複の確認"));
    distance.setRange(0, kLargestMetres);
    distance.setValue(static_cast<int>(metres));
    distance.setObjectName(QStringLiteral("distanceField"));
    distanceCaption.setBuddy(&distance);
    list.setObjectName(QStringLiteral("groupList"));
    list.setColumnCount(4);
    list.setHeaderLabels({QStringLiteral("No."), QStringLiteral("名称"), QStringLiteral("読み"),
                          QStringLiteral("距離 (m)")});
    list.setAccessibleName(QStringLiteral("重複する地点"));
    list.setAccessibleDescription(
        QStringLiteral("グループごとに、最も離れた 2 地点の距離と、各地点の先頭の地点からの距離です。"));
    list.setRootIsDecorated(true);
    list.setSelectionMode(QAbstractItemView::SingleSelection);
    list.header()->setStretchLastSection(false);
    groupButton.setAccessibleDescription(
        QStringLiteral("選んだグループの地点にだけチェックを付け、選んだ地点を一覧で選択します。"));
    allButFirstButton.setAccessibleDescription(
        QStringLiteral("各グループの先頭以外の地点にだけチェックを付けます。削除や一括変換の前に使います。"));

    auto* top = new QHBoxLayout;
    top->addWidget(&distanceCaption);
    top->addWidget(&distance);
    top->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(&groupButton);
    buttons->addWidget(&allButFirstButton);
    buttons->addStretch();
    buttons->addWidget(&closeButton);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(&summary);
    all->addWidget(&list);
    all->addLayout(buttons);
    resize(560, 380);

    connect(&distance, &QSpinBox::valueChanged, this, [this] { Regroup(); });
    connect(&list, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });
    connect(&list, &QTreeWidget::itemDoubleClicked, this, [this] { ChooseGroup(); });
    connect(&groupButton, &QPushButton::clicked, this, [this] { ChooseGroup(); });
    connect(&allButFirstButton, &QPushButton::clicked, this, [this] { ChooseAllButFirst(); });
    connect(&closeButton, &QPushButton::clicked, this, &QDialog::reject);
    Regroup();
}

void DuplicateDialog::Regroup()
{
    // Grouped by the places in `entries`, shown and kept by the book's row numbers.
    const std::vector<DuplicateGroup> found = SamePoints::Groups(entries, places, Metres());
    list.clear();
    groups.clear();
    int points = 0;
    for (std::size_t g = 0; g < found.size(); ++g) {
        const DuplicateGroup& group = found[g];
        auto* heading = new QTreeWidgetItem(&list);
        heading->setText(0, QStringLiteral("グループ %1").arg(g + 1));
        heading->setText(1, QStringLiteral("%1 地点").arg(group.rows.size()));
        heading->setText(3, QStringLiteral("最大 %1").arg(MetresText(group.metres)));
        heading->setData(0, kGroupRole, static_cast<int>(g));
        DuplicateGroup inBook{{}, group.metres};
        for (const int k : group.rows) {
            const int row = rows[static_cast<std::size_t>(k)];
            const PointEntry& e = entries[static_cast<std::size_t>(k)];
            auto* point = new QTreeWidgetItem(heading);
            point->setText(0, QString::number(row + 1));
            point->setText(1, Cp932::Decode(e.name).trimmed());
            point->setText(2, Cp932::Decode(e.reading).trimmed());
            if (k != group.rows.front())
                point->setText(3, MetresText(places.Metres(group.rows.front(), k)));
            point->setData(0, kGroupRole, static_cast<int>(g));
            point->setData(0, kRowRole, row);
            point->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
            inBook.rows.push_back(row);
        }
        heading->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        points += static_cast<int>(group.rows.size());
        groups.push_back(std::move(inBook));
    }
    list.expandAll();
    for (int column = 0; column < list.columnCount(); ++column)
        list.resizeColumnToContents(column);
    summary.setText(groups.empty() ? QStringLiteral("重複する地点はありません。")
                                   : QStringLiteral("%1 組、%2 地点が重複しています。").arg(groups.size()).arg(points));
    UpdateButtons();
}

void DuplicateDialog::UpdateButtons()
{
    groupButton.setEnabled(list.currentItem() != nullptr);
    allButFirstButton.setEnabled(!groups.empty());
}

void DuplicateDialog::ChooseGroup()
{
    const QTreeWidgetItem* item = list.currentItem();
    if (!item)
        return;
    const DuplicateGroup& group = groups[static_cast<std::size_t>(item->data(0, kGroupRole).toInt())];
    chosen = Choice::group;
    chosenRows = group.rows;
    const QVariant row = item->data(0, kRowRole);
    chosenPoint = row.isValid() ? row.toInt() : group.rows.front();
    accept();
}

void DuplicateDialog::ChooseAllButFirst()
{
    chosen = Choice::allButFirst;
    chosenRows.clear();
    for (const DuplicateGroup& group : groups)
        chosenRows.insert(chosenRows.end(), group.rows.begin() + 1, group.rows.end());
    accept();
}

}  // namespace tovik
