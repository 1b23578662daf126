#pragma once

#include <QUndoCommand>

#include "core/pointentry.h"

namespace tovik {

class BookView;
class PointBook;

// One step of the edited book's history. Undo gives back the book, both lists and the
// selection as they were before the step; redo as they were after it.
class PointCommand : public QUndoCommand {
public:
    PointCommand(const QString& name, PointBook& book, BookView& view);

    void undo() final;
    void redo() final;

protected:
    virtual void Do() = 0;
    virtual void Undo() = 0;
    // Puts `entry` back in place of entry `index` and shows it.
    void PutEntry(int index, const PointEntry& entry);

    PointBook& book;
    BookView& view;

private:
    int selectionBefore;
    int selectionAfter = -1;
    bool done = false;
};

}  // namespace tovik
