// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QItemSelectionModel>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include "editing/pointbookmodel.h"

class QWidget;

namespace tovik {

class PointBook;
class Prompter;

// The edited point memory: the book with its model and the lists' one selection, its
// history, the current file and the path a plain save writes, the folder the file dialogs
// start in, and the file commands with their questions. The book counts as changed
// exactly when its history stands elsewhere than where it was last opened or saved.
class PointDocument : public QObject {
    Q_OBJECT
public:
    // `window` is the parent of the questions and file dialogs.
    PointDocument(PointBook& book, Prompter& prompter, QWidget& window);

    const PointBook& Book() const { return book; }
    PointBookModel& Model() { return model; }
    QItemSelectionModel& Selection() { return selection; }
    const QItemSelectionModel& Selection() const { return selection; }
    QUndoStack& History() { return history; }
    const QUndoStack& History() const { return history; }

    const QString& FilePath() const { return filePath; }
    const QString& SavePath() const { return savePath; }
    const QString& FileDialogDir() const { return fileDialogDir; }
    bool IsModified() const { return !history.isClean(); }
    // The current file (or the no-file title) and the number of points.
    QString Title() const;

    // The file named on the command line; one that cannot be opened names no file.
    void OpenAtStart(const QString& path);
    // 開く, 上書き保存, 名前を付けて保存 and a file dropped on the window.
    void Open();
    void Save();
    void SaveAs();
    void Drop(const QString& path);
    // Asks what to do with unsaved changes; true when the caller may go on.
    bool ConfirmDiscard();

    // A message box about a file.
    void ShowMessage(const QString& text);
    // Says why a path that came in as text cannot be used (Qt could not carry its bytes);
    // true when it can.
    bool AcceptPath(const QString& path);

signals:
    // The point count or the current file changed.
    void TitleChanged();

private:
    // Loads a file into the book and makes it the current file; a file that cannot be
    // opened, fails its check or is no .mem file leaves the current file as it was.
    bool OpenFile(const QString& path);
    // Says so and gives true when `path` is not a .mem file.
    bool RefuseOtherKinds(const QString& path);
    void SetCurrentFile(const QString& path);
    bool SaveToTarget();
    // Writes the book to `path`; once written, it is the current file.
    bool WriteTo(const QString& path);
    // A name for a save from the save dialog, ending in .mem; empty when there is none.
    QString AskSavePath();
    // Before a save over the file last opened or saved: when another program has changed
    // it since, asks whether to overwrite it.
    bool ConfirmOverwriteChanged(const QString& path);

    PointBook& book;
    Prompter& prompter;
    QWidget& window;
    PointBookModel model;
    QItemSelectionModel selection;
    QUndoStack history;
    QString filePath;
    QString savePath;
    QString fileDialogDir;
};

}  // namespace tovik
