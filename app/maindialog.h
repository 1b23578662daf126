// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QIcon>
#include <QLineEdit>
#include <QList>
#include <QMenuBar>
#include <QPushButton>
#include <memory>

#include "app/duplicatecheck.h"
#include "app/exchangeactions.h"
#include "app/mainlayout.h"
#include "app/mapactions.h"
#include "app/pointdocument.h"
#include "app/pointfinder.h"
#include "app/sortactions.h"
#include "platform/spinbutton.h"
#include "widgets/importlistctrl.h"
#include "widgets/pointlistctrl.h"

namespace tovik {

class MainMenu;
class PointBook;
class Prompter;

// The main window: the edited book in List1 (edit view) or beside a second file in List2
// and List3 (file-import view), the button column, the MARK controls and the menu. Its
// handlers are what the menu, the buttons and the keys reach; each hands the work to the
// room that owns it: the document (the book, its history and its file), the exchange
// actions (other formats and the device datum) and the layout.
class MainDialog : public QDialog {
    Q_OBJECT
public:
    // `commandLineFile` is loaded before the window is shown; an empty text names none.
    MainDialog(PointBook& book, Prompter& prompter, const QString& commandLineFile, QWidget* parent = nullptr);
    ~MainDialog() override;

    // File commands and the window title.
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnDropFiles(const QString& path);
    void OnCancel();
    void UpdateTitle();

    // Views.
    void ShowEditView();
    void ShowImportView();
    void OnMarkCheck();
    void OnAbout();

    // Editing commands, on the selected point of the list shown.
    void OnChange();
    void OnAdd();
    // 追加 with the coordinates filled in (texts as the lists show them), as the map asks.
    void OnAddAt(const QString& longitude, const QString& latitude);
    void OnDelete();
    void OnMoveUp();
    void OnMoveDown();
    // A point moved in front of the point at `to`, by a drag or a key.
    void OnMovePoint(int from, int to);
    void OnTransfer();
    void OnBatchConvert();
    void OnSelectAll();
    void OnDeselectAll();

    // Points in and out of other formats.
    void OnFileExport();
    void OnOpenImportFile();
    void OnShowOnMap();

    PointDocument& Document() { return document; }
    ExchangeActions& Exchange() { return exchange; }
    PointFinder& Finder() { return finder; }
    SortActions& Sorting() { return sorting; }
    DuplicateCheck& Duplicates() { return duplicates; }
    MapActions& Map() { return mapActions; }
    MainLayout::View CurrentView() const { return layout.CurrentView(); }
    QWidget& Client() { return client; }
    PointListCtrl& EditList() { return editList; }
    PointListCtrl& TargetList() { return targetList; }
    ImportListCtrl& ImportList() { return importList; }
    const QList<QIcon>& MarkImagesSmall() const { return markImagesSmall; }
    const QList<QIcon>& MarkImagesLarge() const { return markImagesLarge; }

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
    void SetUpLists();
    void MoveSelectedBy(int places);
    // The point 地図で見る shows: the selected point of the edited book, or in the
    // file-import view the first one selected in List2; nothing when none is selected.
    const PointEntry* PointToShow() const;
    void UpdateActions();

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

    PointDocument document;
    ExchangeActions exchange;
    MainLayout layout;
    PointFinder finder;
    SortActions sorting;
    DuplicateCheck duplicates;
    MapActions mapActions;
    std::unique_ptr<MainMenu> menu;
    QList<QIcon> markImagesSmall;
    QList<QIcon> markImagesLarge;
    QIcon icon;
    bool closing = false;
};

}  // namespace tovik
