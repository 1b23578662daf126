#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <vector>

#include "core/duplicategroups.h"
#include "core/pointentry.h"
#include "interop/pointexchange.h"

namespace tovik {

class ExchangeConverter;

// The points of the file in the file-import view, as the device would store them, in
// the six columns of the lists. It keeps the points as the file holds them, so that a
// change of the device datum fits them again from the file's own positions. Rows are made
// as they are shown: a file of many thousand points costs little more than its points.
class ImportPointsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ImportPointsModel(QObject* parent = nullptr);

    // The images shown beside the rows, by mark; the model does not own them.
    void SetImages(const QList<QIcon>* images);

    // Shows what `fitted` holds for `source`, which it came from.
    void Show(PointExchange::Source source, std::vector<PointEntry> fitted);
    // Fits the file's points again and shows what that gives (no rows when none could be
    // fitted); the warnings of doing so, or why it could not be done.
    PointExchange::Imported Refit(const ExchangeConverter& converter);

    // Marks the points already in the edited book (by DuplicateGroups::InBook, one match a
    // row): their rows show in a colour of their own, with the book's row numbers and the
    // distance as their tooltip and description. No command reads the marks.
    void SetInBook(std::vector<BookMatch> matches);
    bool IsInBook(int row) const;

    const PointEntry& Point(int row) const { return points.at(static_cast<std::size_t>(row)); }
    const std::vector<PointEntry>& Points() const { return points; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    PointExchange::Source source;
    std::vector<PointEntry> points;
    // The rows carry tick boxes like every list of points; no command reads them.
    std::vector<bool> ticks;
    std::vector<BookMatch> inBook;
    const QList<QIcon>* images = nullptr;
};

}  // namespace tovik
