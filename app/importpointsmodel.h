// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <vector>

#include "core/duplicategroups.h"
#include "core/pointentry.h"
#include "interop/pointexchange.h"

namespace tovik {

// The points of the file in the file-import view, as the device would store them, in
// the six columns of the lists. It keeps the file's bytes as read, so that a change of
// the device datum fits the points again from the file's own positions. Rows are made as
// they are shown: a file of many thousand points costs little more than its points.
class ImportPointsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ImportPointsModel(QObject* parent = nullptr);

    // The images shown beside the rows, by mark; the model does not own them.
    void SetImages(const QList<QIcon>* images);

    // Shows what `fitted` holds for `source`, which it came from.
    void Show(PointExchange::Source source, std::vector<PointEntry> fitted);
    // The file as read, to fit its points again; nothing to fit for a .mem file.
    const PointExchange::Source& FileRead() const { return source; }
    bool CanRefit() const { return source.format != ExchangeFormat::mem && !source.bytes.empty(); }
    // Shows the file's points fitted again (for another datum); the rows keep their
    // selection and ticks when the same points come back.
    void ShowRefitted(std::vector<PointEntry> fitted);

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
