// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <array>

#include "core/datumconverter.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tovik {

class MainDialog;

// The main window's menu: the described items, each reaching its handler of the window,
// and after them the items of the features Tovik adds.
class MainMenu : public QObject {
    Q_OBJECT
public:
    MainMenu(QMenuBar& bar, MainDialog& window);

    // 地図で見る, which needs a selected point.
    QAction& ShowOnMap() { return *showOnMap; }
    // Ticks the device datum's item.
    void ShowDatum(DeviceDatum datum);

private:
    void BuildFile(QMenuBar& bar);
    void BuildEdit(QMenuBar& bar);
    void BuildView(QMenuBar& bar);
    // 変換's items after the described ones: 並べ替え and 重複の確認....
    void AddSortAndDuplicates(QMenu* convert);
    QAction* Add(QMenu* menu, const QString& text, void (MainDialog::*handler)());

    MainDialog& window;
    QAction* showOnMap = nullptr;
    std::array<QAction*, 2> datumActions{};
};

}  // namespace tovik
