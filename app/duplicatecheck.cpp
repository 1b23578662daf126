// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/duplicatecheck.h"

#include "app/duplicatedialog.h"
#include "app/exchangeactions.h"
#include "app/pointdocument.h"
#include "app/pointfinder.h"
#include "core/pointbook.h"
#include "editing/rowselection.h"
#include "platform/prompter.h"
#include "platform/samepoints.h"

namespace tovik {

namespace {

// A change of ticks alone moves no point and renames none.
bool OnlyTicks(const QList<int>& roles) { return roles.size() == 1 && roles.front() == Qt::CheckStateRole; }

std::vector<PointEntry> Entries(const PointBook& book, const std::vector<int>& rows)
{
    std::vector<PointEntry> entries;
    for (const int row : rows)
        entries.push_back(book.Entry(row));
    return entries;
}

}  // namespace

DuplicateCheck::DuplicateCheck(PointDocument& document, ExchangeActions& exchange, PointFinder& finder,
                               Prompter& prompter, QWidget& window)
    : document(document), exchange(exchange), finder(finder), prompter(prompter), window(window)
{
    marking.setSingleShot(true);
    marking.setInterval(0);
    connect(&marking, &QTimer::timeout, this, [this] { MarkImported(); });
    auto mark = [this] { marking.start(); };
    auto markAnew = [this] {
        importedStale = true;
        marking.start();
    };
    const PointBookModel& book = document.Model();
    connect(&book, &QAbstractItemModel::modelReset, this, mark);
    connect(&book, &QAbstractItemModel::layoutChanged, this, mark);
    connect(&book, &QAbstractItemModel::rowsInserted, this, mark);
    connect(&book, &QAbstractItemModel::rowsRemoved, this, mark);
    connect(&book, &QAbstractItemModel::rowsMoved, this, mark);
    connect(&book, &QAbstractItemModel::dataChanged, this,
            [mark](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (!OnlyTicks(roles))
                    mark();
            });
    const ImportPointsModel& imported = exchange.ImportModel();
    connect(&imported, &QAbstractItemModel::modelReset, this, markAnew);
    connect(&imported, &QAbstractItemModel::dataChanged, this,
            [markAnew](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles.isEmpty() || roles.contains(Qt::DisplayRole))
                    markAnew();
            });
    connect(&exchange, &ExchangeActions::DatumChanged, this, markAnew);
}

void DuplicateCheck::Check()
{
    const std::vector<int> rows = finder.ShownRows();
    std::vector<PointEntry> entries = Entries(document.Book(), rows);
    const DatumConverter converter(exchange.Datum());
    if (!converter.Error().empty())
        document.ShowMessage(QString::fromStdString(converter.Error()));
    PointPlaces places = PointPlaces::Of(entries, converter);
    DuplicateDialog dialog(rows, std::move(entries), std::move(places), metres, &window);
    const int result = prompter.RunDialog(dialog);
    if (dialog.Metres() != metres) {
        metres = dialog.Metres();
        marking.start();
    }
    if (result != QDialog::Accepted || dialog.Chosen() == DuplicateDialog::Choice::none)
        return;
    // The dialog's rows become the ticks of the rows it looked at; the rows hidden from it
    // keep theirs.
    std::vector<bool> tick(static_cast<std::size_t>(document.Book().GetCount()), false);
    for (const int row : dialog.ChosenRows())
        tick[static_cast<std::size_t>(row)] = true;
    PointBookModel& model = document.Model();
    for (const int row : rows)
        model.SetTicked(row, tick[static_cast<std::size_t>(row)]);
    if (dialog.Chosen() == DuplicateDialog::Choice::group) {
        RowSelection::Select(document.Selection(), dialog.ChosenPoint());
        finder.RevealSelected();
    }
}

void DuplicateCheck::MarkImported()
{
    ImportPointsModel& imported = exchange.ImportModel();
    if (imported.rowCount() == 0)
        return;
    const DatumConverter converter(exchange.Datum());
    if (importedStale) {
        importedPlaces = PointPlaces::Of(imported.Points(), converter);
        importedKeys = SamePoints::NameKeys(imported.Points());
        importedStale = false;
    }
    std::vector<int> all(static_cast<std::size_t>(document.Book().GetCount()));
    for (std::size_t row = 0; row < all.size(); ++row)
        all[row] = static_cast<int>(row);
    const std::vector<PointEntry> book = Entries(document.Book(), all);
    imported.SetInBook(DuplicateGroups::InBook(PointPlaces::Of(book, converter), SamePoints::NameKeys(book),
                                               importedPlaces, importedKeys, metres));
}

}  // namespace tovik
