// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/maindialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "app/aboutdialog.h"
#include "app/mainmenu.h"
#include "app/markiconfiles.h"
#include "core/markrule.h"
#include "core/messagetexts.h"
#include "core/pointbook.h"
#include "editing/addpointcommand.h"
#include "editing/batchconvertcommand.h"
#include "editing/changepointcommand.h"
#include "editing/deletepointcommand.h"
#include "editing/markdialog.h"
#include "editing/movepointcommand.h"
#include "editing/pointeditdialog.h"
#include "editing/rowselection.h"
#include "editing/transfercommand.h"
#include "platform/bytelimitvalidator.h"
#include "platform/cp932.h"
#include "platform/dialogunits.h"
#include "platform/droppedfiles.h"
#include "platform/prompter.h"
#include "resources/programicon.h"

namespace tovik {

const QString MainDialog::kTemplateTitle = QStringLiteral("RQ-42用地点編集エディター");

namespace {

const QString kMarkRange = QStringLiteral("ＭＡＲＫの入力範囲は０～２５までです。");
const QColor kDialogBackColor{0, 0, 0};
const QColor kListBackColor{128, 128, 255};
const QColor kListTextColor{255, 255, 255};

}  // namespace

MainDialog::MainDialog(PointBook& book, Prompter& prompter, const QString& commandLineFile, QWidget* parent)
    : QDialog(parent),
      prompter(prompter),
      menuBar(this),
      client(this),
      exitButton(QStringLiteral("終了"), &client),
      editList(&client),
      addButton(QStringLiteral("追加"), &client),
      deleteButton(QStringLiteral("削除"), &client),
      changeButton(QStringLiteral("変更"), &client),
      importList(&client),
      targetList(&client),
      transferButton(QStringLiteral(">>"), &client),
      markField(&client),
      markSpin(&client),
      markCheck(QStringLiteral("MARK"), &client),
      document(book, prompter, *this),
      exchange(document, prompter, *this),
      layout({client, exitButton, editList, addButton, deleteButton, changeButton, importList, targetList,
              transferButton, markField, markSpin, markCheck}),
      finder(document, editList, targetList, layout, client),
      sorting(document, exchange, finder),
      duplicates(document, exchange, finder, prompter, *this),
      mapActions(*this)
{
    // The installed theme's icon when there is one, the same drawing made here otherwise.
    icon = QIcon::fromTheme(QStringLiteral(TOVIK_APP_ID), ProgramIcon());
    OnInitDialog();
    document.OpenAtStart(commandLineFile);
}

MainDialog::~MainDialog() = default;

void MainDialog::OnInitDialog()
{
    setWindowTitle(kTemplateTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    // The program runs the window with exec(); modal to no other window, so that the map
    // window beside it takes the mouse and the keys.
    setWindowModality(Qt::WindowModal);
    setAcceptDrops(true);
    const QFont font(DialogUnits::FontFamily(), 10);
    setFont(font);
    layout.Place(font);
    client.installEventFilter(this);
    menu = std::make_unique<MainMenu>(menuBar, *this);
    menuBar.ensurePolished();
    const int menuHeight = menuBar.sizeHint().height();
    client.move(0, menuHeight);
    resize(client.width(), client.height() + menuHeight);
    markField.setText(QStringLiteral("0"));
    new ByteLimitValidator(ByteLimitValidator::kUnlimited, markField, ByteLimitValidator::Kind::numeric);

    markCheck.setChecked(true);
    MarkIconFiles::Load(markImagesLarge, markImagesSmall);

    client.setAutoFillBackground(true);
    QPalette background = client.palette();
    background.setColor(QPalette::Window, kDialogBackColor);
    client.setPalette(background);
    QPalette checkPalette = markCheck.palette();
    checkPalette.setColor(QPalette::Window, palette().color(QPalette::Button));
    checkPalette.setColor(QPalette::WindowText, palette().color(QPalette::ButtonText));
    markCheck.setPalette(checkPalette);

    markSpin.SetRange(0, kHighestMark);
    markSpin.SetBuddy(&markField);
    markSpin.SetPos(0);

    layout.CaptureLayout();
    ShowEditView();
    SetUpLists();

    connect(&exitButton, &QPushButton::clicked, this, [this] { OnCancel(); });
    connect(&changeButton, &QPushButton::clicked, this, [this] { OnChange(); });
    connect(&addButton, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(&deleteButton, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(&transferButton, &QPushButton::clicked, this, [this] { OnTransfer(); });
    connect(&markCheck, &QCheckBox::clicked, this, [this] { OnMarkCheck(); });
    connect(&document, &PointDocument::TitleChanged, this, [this] { UpdateTitle(); });
    setWindowIcon(icon);
}

void MainDialog::SetUpLists()
{
    PointBookModel& model = document.Model();
    ImportPointsModel& imported = exchange.ImportModel();
    model.SetImages(&markImagesSmall);
    imported.SetImages(&markImagesSmall);
    // List1 and List3 are two views of the edited book with one selection, so that a
    // command means the same point whichever view is shown.
    editList.SetModel(&model, &document.Selection());
    targetList.SetModel(&model, &document.Selection());
    importList.SetModel(&imported);
    for (ListBase* list : {static_cast<ListBase*>(&editList), static_cast<ListBase*>(&importList),
                           static_cast<ListBase*>(&targetList)}) {
        list->SetColors(kListBackColor, kListTextColor);
        MainLayout::SetColumnWidths(*list);
    }
    for (PointListCtrl* list : {&editList, &targetList}) {
        connect(list, &ListBase::DoubleClicked, this, [this] { OnChange(); });
        // A drag's move is a step of the history like any other change.
        list->SetDropHandler([this](int from, int to) { OnMovePoint(from, to); });
    }
    importList.SetDropTarget([this] { return QRect(targetList.mapToGlobal(QPoint(0, 0)), targetList.size()); },
                             [this] { OnTransfer(); });
    importList.SetFileDropHandler([this](const QString& path) { exchange.LoadImportFile(path); });
    // 地図で見る needs a point.
    connect(&document.Selection(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateActions(); });
    connect(importList.selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateActions(); });
    connect(&imported, &QAbstractItemModel::modelReset, this, [this] { UpdateActions(); });
    UpdateActions();
}

void MainDialog::UpdateActions() { menu->ShowOnMap().setEnabled(PointToShow() != nullptr); }

// ---- file commands

void MainDialog::UpdateTitle() { setWindowTitle(document.Title()); }

void MainDialog::OnFileOpen() { document.Open(); }

void MainDialog::OnFileSave() { document.Save(); }

void MainDialog::OnFileSaveAs() { document.SaveAs(); }

void MainDialog::OnDropFiles(const QString& path) { document.Drop(path); }

void MainDialog::OnCancel()
{
    if (!document.ConfirmDiscard())
        return;
    closing = true;
    done(QDialog::Rejected);
}

void MainDialog::accept()
{
    // Enter does not close the window; only the close path with its prompt does.
}

void MainDialog::reject() { OnCancel(); }

void MainDialog::closeEvent(QCloseEvent* event)
{
    if (closing) {
        event->accept();
        return;
    }
    event->ignore();
    OnCancel();
}

void MainDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Return does what a double click does on a row of the edited points, what ">>"
        // does in the import list, and presses a button that has the focus; it never
        // closes the window but through 終了 and its question.
        QWidget* focused = focusWidget();
        if (focused == &editList || focused == &targetList) {
            const int row = static_cast<ListBase*>(focused)->currentIndex().row();
            if (row >= 0) {
                RowSelection::Select(document.Selection(), row);
                OnChange();
            }
        } else if (focused == &importList) {
            OnTransfer();
        } else if (auto* button = qobject_cast<QPushButton*>(focused)) {
            button->click();
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) { DroppedFiles::AcceptIfFile(event); }

void MainDialog::dragMoveEvent(QDragMoveEvent* event) { DroppedFiles::AcceptIfFile(event); }

void MainDialog::dropEvent(QDropEvent* event)
{
    if (const QString path = DroppedFiles::Take(event); !path.isEmpty())
        OnDropFiles(path);
}

// ---- views and layout

void MainDialog::ShowEditView()
{
    layout.ShowEditView();
    UpdateActions();
    mapActions.ViewChanged();
}

void MainDialog::ShowImportView()
{
    layout.ShowImportView();
    UpdateActions();
    mapActions.ViewChanged();
}

void MainDialog::OnMarkCheck() { layout.OnMarkCheck(); }

void MainDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int menuHeight = menuBar.sizeHint().height();
    menuBar.setGeometry(0, 0, width(), menuHeight);
    client.setGeometry(0, menuHeight, width(), std::max(height() - menuHeight, 0));
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &client && event->type() == QEvent::Resize)
        layout.OnSize();
    return QDialog::eventFilter(watched, event);
}

void MainDialog::OnAbout()
{
    AboutDialog about(icon, this);
    prompter.RunDialog(about);
}

// ---- editing commands

void MainDialog::OnChange()
{
    const int i = RowSelection::Selected(document.Selection());
    if (i < 0)
        return;
    const PointBookModel& model = document.Model();
    ChangePointCommand::Texts shown;
    for (int k = 0; k < RowRecord::kColumns; ++k)
        shown[static_cast<std::size_t>(k)] = model.index(i, k).data().toString();
    PointEditDialog dialog(prompter, this);
    dialog.name = shown[RowRecord::name];
    dialog.longitude = shown[RowRecord::longitude];
    dialog.latitude = shown[RowRecord::latitude];
    dialog.mark = shown[RowRecord::mark];
    dialog.reading = shown[RowRecord::reading];
    dialog.telephone = shown[RowRecord::telephone];
    if (prompter.RunDialog(dialog) != QDialog::Accepted)
        return;
    const ChangePointCommand::Texts typed = {dialog.name, dialog.longitude, dialog.latitude,
                                             dialog.mark, dialog.reading,   dialog.telephone};
    document.History().push(new ChangePointCommand(document.Model(), document.Selection(), i, typed, shown));
}

void MainDialog::OnAdd() { OnAddAt({}, {}); }

void MainDialog::OnAddAt(const QString& longitude, const QString& latitude)
{
    const PointBook& book = document.Book();
    if (book.GetCount() >= PointBook::kCapacity) {
        prompter.Message(this, QString::fromUtf8(messages::kTooManyPoints), Prompter::Buttons::ok,
                         Prompter::Icon::none);
        return;
    }
    const int selected = RowSelection::Selected(document.Selection());
    const int p = selected >= 0 ? selected : book.GetCount();
    PointEditDialog dialog(prompter, this);
    dialog.longitude = longitude;
    dialog.latitude = latitude;
    dialog.mark = QStringLiteral("0");
    dialog.distanceIndex = 0;
    if (prompter.RunDialog(dialog) != QDialog::Accepted)
        return;
    using Cp = Cp932;
    const PointEntry entry =
        PointEntry::FromTexts(Cp::Checked(dialog.name), Cp::Checked(dialog.reading), Cp::Checked(dialog.longitude),
                              Cp::Checked(dialog.latitude), Cp::Checked(dialog.telephone), Cp::Checked(dialog.mark));
    document.History().push(new AddPointCommand(document.Model(), document.Selection(), p, entry));
}

void MainDialog::OnDelete()
{
    const int i = RowSelection::Selected(document.Selection());
    if (i >= 0)
        document.History().push(new DeletePointCommand(document.Model(), document.Selection(), i));
}

void MainDialog::OnMoveUp() { MoveSelectedBy(-1); }

void MainDialog::OnMoveDown() { MoveSelectedBy(1); }

void MainDialog::MoveSelectedBy(int places)
{
    const int i = RowSelection::Selected(document.Selection());
    if (i < 0)
        return;
    // The same move as a drag that drops the row in front of the row above, or in front
    // of the row after the one below, of the rows shown.
    const int next = finder.ShownNeighbour(i, places);
    if (next < 0)
        return;
    const int to = places < 0 ? next : next + 1;
    OnMovePoint(i, to);
    PointListCtrl& list = layout.CurrentView() == MainLayout::View::edit ? editList : targetList;
    list.scrollTo(list.model()->index(RowSelection::Selected(document.Selection()), 0));
}

void MainDialog::OnMovePoint(int from, int to)
{
    if (editList.Moves(from, to))
        document.History().push(new MovePointCommand(document.Model(), document.Selection(), from, to));
}

void MainDialog::OnTransfer()
{
    const std::vector<int> rows = importList.SelectedRows();
    const int count = document.Book().GetCount();
    if (count + static_cast<int>(rows.size()) > PointBook::kCapacity) {
        prompter.Message(this, QString::fromUtf8(messages::kTooManyPoints), Prompter::Buttons::ok,
                         Prompter::Icon::none);
        return;
    }
    const int selected = RowSelection::Selected(document.Selection());
    const int p = selected >= 0 ? selected : count;
    std::vector<PointEntry> copies;
    for (const int row : rows) {
        PointEntry copy = exchange.ImportModel().Point(row);
        if (markCheck.isChecked()) {
            const std::optional<int> mark = markSpin.GetPos();
            if (!mark) {
                prompter.Message(this, kMarkRange, Prompter::Buttons::ok, Prompter::Icon::none);
                return;
            }
            copy.mark = static_cast<std::uint8_t>(*mark);
        }
        if (const auto followers = FollowMark(copy.mark)) {
            copy.distance = followers->distance;
            copy.category = followers->category;
        }
        copies.push_back(copy);
    }
    if (copies.empty())
        UpdateTitle();
    else
        document.History().push(new TransferCommand(document.Model(), document.Selection(), p, std::move(copies)));
}

void MainDialog::OnBatchConvert()
{
    MarkDialog dialog(prompter, this);
    if (document.Book().GetCount() == 0)
        return;
    if (prompter.RunDialog(dialog) != QDialog::Accepted)
        return;
    std::vector<int> ticked = finder.Shown(document.Model().TickedRows());
    if (!ticked.empty())
        document.History().push(
            new BatchConvertCommand(document.Model(), document.Selection(), dialog.mark, std::move(ticked)));
}

void MainDialog::OnSelectAll()
{
    for (const int i : finder.ShownRows())
        document.Model().SetTicked(i, true);
}

void MainDialog::OnDeselectAll()
{
    for (const int i : finder.ShownRows())
        document.Model().SetTicked(i, false);
}

// ---- points in and out of other formats

void MainDialog::OnFileExport() { exchange.Export(); }

void MainDialog::OnOpenImportFile()
{
    const QString chosen = exchange.ChooseImportFile();
    if (chosen.isEmpty())
        return;
    ShowImportView();
    exchange.LoadImportFile(chosen);
}

const PointEntry* MainDialog::PointToShow() const
{
    if (const int i = RowSelection::Selected(document.Selection()); i >= 0)
        return &document.Book().Entry(i);
    if (layout.CurrentView() == MainLayout::View::import) {
        if (const int imported = importList.GetNextSelected(-1); imported >= 0)
            return &exchange.ImportModel().Point(imported);
    }
    return nullptr;
}

void MainDialog::OnShowOnMap()
{
    if (const PointEntry* point = PointToShow())
        exchange.ShowOnMap(*point);
}

}  // namespace tovik
