#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QIcon>
#include <QLineEdit>
#include <QList>
#include <QMenuBar>
#include <QPushButton>
#include <QUndoStack>
#include <array>

#include "editing/bookview.h"
#include "core/datumconverter.h"
#include "widgets/importlistctrl.h"
#include "widgets/pointlistctrl.h"
#include "platform/prompter.h"
#include "platform/rowrecord.h"
#include "platform/spinbutton.h"

namespace tovik {

class PointBook;

// The main window: the edited book in List1 (edit view) or beside a second file in
// List2 and List3 (file-import view), the button column, the MARK controls and the menu.
// Row i of List1 and of List3 is entry i of the edited book. Every change of the book is a
// step of its history (undo stack), taken by the commands through the rows they see here.
class MainDialog : public QDialog, public BookView {
    Q_OBJECT
public:
    // `commandLineFile` is loaded before the window is shown; an empty text names none.
    MainDialog(PointBook& book, Prompter& prompter, const QString& commandLineFile,
               QWidget* parent = nullptr);
    ~MainDialog() override;

    // File commands and the window title.
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnDropFiles(const QString& path);
    void OnCancel();
    void UpdateTitle() override;
    void SetCurrentFile(const QString& path);
    bool SaveToTarget();
    // Writes the book to `path`; once written, it is the current file.
    bool WriteTo(const QString& path);

    // The lists of the edited book and their rows.
    void RefreshLists();
    void InsertRow(int index, const RowRecord& row) override;
    void SelectRow(int index) override;
    void SyncRowState(int index, int mark);
    static int FirstSelectedRow(const ListBase& list);
    // Puts the book's texts and mark image of entry `index` into its row of both lists.
    void ShowEntry(int index) override;
    void DeleteRow(int index) override;
    void MoveRow(int from, int to) override;
    int SelectedRow() const override;
    void RestoreSelection(int index) override;
    bool RowChecked(int index) const override;
    void SetRowChecked(int index, bool checked) override;

    // Views and layout.
    void ShowEditView();
    void ShowImportView();
    void CaptureLayout();
    void OnSize();
    void LoadMarkIcons();
    void OnMarkCheck();
    void OnAbout();

    // Editing commands.
    void OnChange();
    void OnAdd();
    void OnDelete();
    void OnListClick(ListBase& list);
    // Move the selected point of the shown list one place up or down, as a drag would.
    void OnMoveUp();
    void OnMoveDown();
    // A point moved in front of the point at `to`, by a drag or a key.
    void OnMovePoint(int from, int to);
    void OnTransfer();
    // Where List3 is on the screen; rows of List2 dropped there are transferred.
    QRect GetTargetListRect() const;
    void OnBatchConvert();
    void OnSelectAll();
    void OnDeselectAll();
    void OnUnusedCommand() {}

    // Points in and out of other formats, and the device datum they are converted from.
    void OnFileExport();
    void OnOpenImportFile();
    void OnShowOnMap();
    void SetDeviceDatum(DeviceDatum datum);
    DeviceDatum GetDeviceDatum() const { return deviceDatum; }

    const QString& FilePath() const { return filePath; }
    const QString& SavePath() const { return savePath; }
    const QString& FileDialogDir() const { return fileDialogDir; }
    int CurrentView() const { return currentView; }
    QWidget& Client() { return client; }
    PointListCtrl& EditList() { return editList; }
    PointListCtrl& TargetList() { return targetList; }
    ImportListCtrl& ImportList() { return importList; }
    const QList<QIcon>& MarkImagesSmall() const { return markImagesSmall; }
    const QList<QIcon>& MarkImagesLarge() const { return markImagesLarge; }
    const QUndoStack& History() const { return undoStack; }

    static const QString kTemplateTitle;

protected:
    void accept() override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OnInitDialog();
    void BuildMenu();
    void PlaceControls();
    // Loads a file into the edited book and makes it the current file; a file that
    // cannot be opened or fails its check leaves the current file as it was.
    void OpenFile(const QString& path);
    // Says so and gives true when `path` is not a .mem file.
    bool RefuseOtherKinds(const QString& path);
    void MoveSelectedBy(int places);
    // Gives `to` the selection, focus and ticks of `from`.
    void MirrorRowStates(const ListBase& from, ListBase& to);
    QString AskSavePath();
    // Shows why a path that came in as text cannot be used (Qt could not carry its
    // bytes); true when it can.
    bool AcceptPath(const QString& path);
    // Before a save over `path`, the file the book was loaded from or last saved to: when
    // another program has changed it since, asks whether to overwrite it. No (false)
    // keeps both the file and the edits.
    bool ConfirmOverwriteChanged(const QString& path);
    // Asks what to do with unsaved changes; true when the caller may go on.
    bool ConfirmDiscard();
    void PlaceButton(QWidget& button, const QRect& list, int& y, int offset);
    void ShowBookMessage(const std::string& message);
    void BuildExchangeMenus(QMenu* file, QMenu* edit, QMenu* view);

    PointBook& book;
    Prompter& prompter;

    QMenuBar menuBar;
    QWidget client;
    QPushButton exitButton;
    PointListCtrl editList;
    QPushButton addButton;
    QPushButton deleteButton;
    QPushButton changeButton;
    ImportListCtrl importList;
    PointListCtrl targetList;
    QPushButton transferButton;
    QLineEdit markField;
    SpinButton markSpin;
    QCheckBox markCheck;

    QUndoStack undoStack;
    QList<QIcon> markImagesSmall;
    QList<QIcon> markImagesLarge;
    std::array<int, 4> buttonSpacing{};
    int initialClientHeight = 0;
    int currentView = 0;
    bool layoutReady = false;
    int listTop = 0;
    int listLeft = 0;
    int bottomMargin = 0;
    int rightMargin = 0;
    int listButtonGap = 0;
    QString fileDialogDir;
    QColor dialogBackColor{0, 0, 0};
    QColor listBackColor{128, 128, 255};
    QColor listTextColor{255, 255, 255};
    QString filePath;
    QString savePath;
    int markValue = 0;
    QIcon icon;
    bool closing = false;
    bool mirroring = false;
    DeviceDatum deviceDatum = DeviceDatum::tokyo;
    std::array<QAction*, 2> datumActions{};
};

}  // namespace tovik
