// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <string>
#include <vector>

#include "core/duplicategroups.h"
#include "core/pointplaces.h"

class QWidget;

namespace tovik {

class ExchangeActions;
class PointDocument;
class PointFinder;
class Prompter;

// 変換 → 重複の確認...: the points of the edited book (the rows shown) that are one place
// twice, in DuplicateDialog, and the ticks or the selection it chooses. It also keeps the
// file-import view's points marked where the book already has them, at the distance last
// chosen in the dialog, as the book, the file or the device datum change.
class DuplicateCheck : public QObject {
    Q_OBJECT
public:
    DuplicateCheck(PointDocument& document, ExchangeActions& exchange, PointFinder& finder, Prompter& prompter,
                   QWidget& window);

    void Check();
    double Metres() const { return metres; }

private:
    void MarkImported();

    PointDocument& document;
    ExchangeActions& exchange;
    PointFinder& finder;
    Prompter& prompter;
    QWidget& window;
    double metres = DuplicateGroups::kDefaultMetres;
    // Many changes in one step (a 一括変換 of every point) mark the file once.
    QTimer marking;
    // The file's points change seldom; the book is measured against them anew each time.
    bool importedStale = true;
    PointPlaces importedPlaces;
    std::vector<std::string> importedKeys;
};

}  // namespace tovik
