// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUndoCommand>

#include "core/pointentry.h"

class QItemSelectionModel;

namespace tovik {

class PointBookModel;

// One step of the edited book's history. It changes the book through its model, which
// every view follows. Undo gives back the book and the selection as they were before the
// step; redo as they were after it.
class PointCommand : public QUndoCommand {
public:
    PointCommand(const QString& name, PointBookModel& model, QItemSelectionModel& selection);

    void undo() final;
    void redo() final;

protected:
    virtual void Do() = 0;
    virtual void Undo() = 0;
    // Selects and focuses `row`, as the step's own rules select it.
    void Select(int row);

    PointBookModel& model;

private:
    QItemSelectionModel& selection;
    int selectionBefore;
    int selectionAfter = -1;
    bool done = false;
};

}  // namespace tovik
