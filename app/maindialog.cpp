#include "app/maindialog.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>
#include <QKeyEvent>

#include "app/aboutdialog.h"
#include "editing/addpointcommand.h"
#include "editing/batchconvertcommand.h"
#include "platform/bytelimitvalidator.h"
#include "editing/changepointcommand.h"
#include "platform/cp932.h"
#include "editing/deletepointcommand.h"
#include "platform/dialogunits.h"
#include "platform/droppedfiles.h"
#include "core/fieldencoding.h"
#include "platform/filenamecheck.h"
#include "editing/markdialog.h"
#include "app/markiconfiles.h"
#include "resources/markpngs.h"
#include "core/markrule.h"
#include "core/messagetexts.h"
#include "editing/movepointcommand.h"
#include "core/pointbook.h"
#include "editing/pointeditdialog.h"
#include "interop/pointexchange.h"
#include "resources/programicon.h"
#include "editing/transfercommand.h"

namespace tovik {

const QString MainDialog::kTemplateTitle = QStringLiteral("RQ-42用地点編集エディター");

namespace {

const QString kNoFileTitle = QStringLiteral("RQ-40 地点編集エディター");
const QString kCountLabel = QStringLiteral("         地点登録数  ");
const QString kChangedPrompt = QStringLiteral("は変更されています。");
const QString kNewFilePrompt = QStringLiteral("新規ファイルです。");
const QString kSavePrompt = QStringLiteral("保存しますか？");
const QString kChangedOnDisk = QStringLiteral("は他のプログラムで変更されています。上書きしますか？");
const QString kOpenFilter = QStringLiteral("ノルダ ファイル(*.mem)|*.mem|すべてのファイル (*.*)|*.*||");
const QString kSaveFilter = QStringLiteral("ノルダファイル (*.mem)|*.mem|すべてのファイル (*.*)|*.*||");
const QString kDefaultExtension = QStringLiteral("mem");
const QString kMarkRange = QStringLiteral("ＭＡＲＫの入力範囲は０～２５までです。");
const QString kUndo = QStringLiteral("元に戻す");
const QString kRedo = QStringLiteral("やり直し");
// How many steps of the history are kept; each holds a few points at most.
constexpr int kUndoSteps = 1000;
constexpr int kHighestMark = 25;

struct Column {
    const char* heading;
    int width;
};
constexpr std::array<Column, 6> kColumns = {{
    {"地点名称", 150}, {"東経", 120}, {"北緯", 120}, {"マーク", 60}, {"フリガナ", 140}, {"電話番号", 120},
}};

// Window rectangles with exclusive right and bottom edges, as the layout reckons them.
int Right(const QWidget& w) { return w.x() + w.width(); }
int Bottom(const QWidget& w) { return w.y() + w.height(); }
void MoveWindow(QWidget& w, int left, int top, int right, int bottom)
{
    w.setGeometry(left, top, right - left, bottom - top);
}

std::string Encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

MainDialog::MainDialog(PointBook& book, Prompter& prompter, const QString& commandLineFile, QWidget* parent)
    : QDialog(parent),
      book(book),
      prompter(prompter),
      menuBar(this),
      client(this),
      exitButton(QStringLiteral("終了"), &client),
      editList(&client),
      addButton(QStringLiteral("追加"), &client),
      deleteButton(QStringLiteral("削除"), &client),
      changeButton(QStringLiteral("変更"), &client),
      importList([this](const std::string& m) { ShowBookMessage(m); }, &client),
      targetList(&client),
      transferButton(QStringLiteral(">>"), &client),
      markField(&client),
      markSpin(&client),
      markCheck(QStringLiteral("MARK"), &client)
{
    book.SetMessageSink([this](const std::string& m) { ShowBookMessage(m); });
    filePath = commandLineFile;
    SetCurrentFile(filePath);
    // The installed theme's icon when there is one, the same drawing made here otherwise.
    icon = QIcon::fromTheme(QStringLiteral(TOVIK_APP_ID), ProgramIcon());
    OnInitDialog();
}

MainDialog::~MainDialog() { book.SetMessageSink({}); }

void MainDialog::ShowBookMessage(const std::string& message)
{
    prompter.Message(this, QString::fromStdString(message), Prompter::Buttons::ok, Prompter::Icon::exclamation);
}

void MainDialog::PlaceControls()
{
    setWindowTitle(kTemplateTitle);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    setAcceptDrops(true);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"), 10);
    setFont(font);
    const DialogUnits du(font);

    struct Place {
        QWidget* widget;
        int x, y, w, h;
        const char* name;
    };
    const Place places[] = {
        {&exitButton, 305, 191, 34, 14, "exitButton"},   {&editList, 2, 0, 299, 205, "List1"},
        {&addButton, 305, 34, 34, 14, "addButton"},      {&deleteButton, 305, 66, 34, 14, "deleteButton"},
        {&changeButton, 305, 2, 34, 14, "changeButton"}, {&importList, 2, 2, 131, 203, "List2"},
        {&targetList, 172, 2, 130, 203, "List3"},        {&transferButton, 138, 59, 25, 14, "transferButton"},
        {&markField, 138, 33, 25, 13, "markField"},      {&markSpin, 150, 30, 9, 14, "Spin1"},
        {&markCheck, 137, 8, 29, 8, "markCheck"},
    };
    QWidget* previous = nullptr;
    for (const Place& p : places) {
        p.widget->setGeometry(du.Rect(p.x, p.y, p.w, p.h));
        p.widget->setObjectName(QString::fromLatin1(p.name));
        if (previous)
            setTabOrder(previous, p.widget);
        previous = p.widget;
    }
    // What a screen reader says of each control.
    const QString reorder = QStringLiteral("Alt+↑ と Alt+↓ で並べ替え、Enter で変更します。");
    editList.setAccessibleName(QStringLiteral("地点一覧"));
    editList.setAccessibleDescription(QStringLiteral("編集中のファイルの地点です。") + reorder);
    importList.setAccessibleName(QStringLiteral("取りこみファイルの地点"));
    importList.setAccessibleDescription(
        QStringLiteral("取りこむファイルの地点です。選んで Enter か >> で右の一覧へ写します。"));
    targetList.setAccessibleName(QStringLiteral("編集中の地点"));
    targetList.setAccessibleDescription(QStringLiteral("取りこみ先のファイルの地点です。") + reorder);
    transferButton.setAccessibleName(QStringLiteral("移動"));
    transferButton.setAccessibleDescription(QStringLiteral("選んだ地点を右の一覧へ写します。"));
    markField.setAccessibleName(QStringLiteral("マーク番号"));
    markField.setAccessibleDescription(QStringLiteral("MARK にチェックがあるとき、写す地点に付けるマーク (0～25)"));
    markSpin.setAccessibleName(QStringLiteral("マーク番号の増減"));
    markSpin.setAccessibleDescription(QStringLiteral("マーク番号を 1 ずつ増減します。"));
    for (QPushButton* b : {&exitButton, &addButton, &deleteButton, &changeButton, &transferButton}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    markCheck.setAutoFillBackground(true);

    client.resize(du.Rect(0, 0, 342, 208).size());
    client.installEventFilter(this);
}

void MainDialog::BuildMenu()
{
    auto add = [](QMenu* menu, const QString& text, auto handler, QObject* receiver) {
        QAction* a = menu->addAction(text);
        QObject::connect(a, &QAction::triggered, receiver, handler);
        return a;
    };
    QMenu* file = menuBar.addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    add(file, QStringLiteral("開く"), [this] { OnFileOpen(); }, this);
    add(file, QStringLiteral("上書き保存"), [this] { OnFileSave(); }, this);
    add(file, QStringLiteral("名前を付けて保存"), [this] { OnFileSaveAs(); }, this);
    file->addSeparator();
    add(file, QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了"), [this] { close(); }, this);

    QMenu* edit = menuBar.addMenu(QStringLiteral("編集"));
    add(edit, QStringLiteral("変更"), [this] { OnChange(); }, this);
    add(edit, QStringLiteral("追加"), [this] { OnAdd(); }, this);
    add(edit, QStringLiteral("削除"), [this] { OnDelete(); }, this);
    edit->addSeparator();
    add(edit, QStringLiteral("移動"), [this] { OnTransfer(); }, this);
    edit->addSeparator();
    add(edit, QStringLiteral("上へ移動"), [this] { OnMoveUp(); }, this)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    add(edit, QStringLiteral("下へ移動"), [this] { OnMoveDown(); }, this)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    edit->addSeparator();
    QAction* undo = add(edit, kUndo, [this] { undoStack.undo(); }, this);
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = add(edit, kRedo, [this] { undoStack.redo(); }, this);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Each names the step it takes back or takes again, and is there only when there is one.
    auto follow = [](QAction* action, const QString& verb) {
        return [action, verb](const QString& step) { action->setText(step.isEmpty() ? verb : verb + ": " + step); };
    };
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(&undoStack, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&undoStack, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(&undoStack, &QUndoStack::undoTextChanged, undo, follow(undo, kUndo));
    connect(&undoStack, &QUndoStack::redoTextChanged, redo, follow(redo, kRedo));

    QMenu* convert = menuBar.addMenu(QStringLiteral("変換"));
    add(convert, QStringLiteral("一括変換"), [this] { OnBatchConvert(); }, this);
    convert->addSeparator();
    add(convert, QStringLiteral("全て選択"), [this] { OnSelectAll(); }, this);
    add(convert, QStringLiteral("選択解除"), [this] { OnDeselectAll(); }, this);

    QMenu* view = menuBar.addMenu(QStringLiteral("表示"));
    add(view, QStringLiteral("編集画面"), [this] { ShowEditView(); }, this);
    add(view, QStringLiteral("ファイル取りこみ画面"), [this] { ShowImportView(); }, this);

    QMenu* help = menuBar.addMenu(QStringLiteral("ﾍﾙﾌﾟ"));
    add(help, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(Tovik) "), [this] { OnAbout(); }, this);

    BuildExchangeMenus(file, edit, view);
}

void MainDialog::OnInitDialog()
{
    PlaceControls();
    BuildMenu();
    menuBar.ensurePolished();
    const int menuHeight = menuBar.sizeHint().height();
    client.move(0, menuHeight);
    resize(client.width(), client.height() + menuHeight);
    markField.setText(QString::number(markValue));
    new ByteLimitValidator(ByteLimitValidator::kUnlimited, markField, ByteLimitValidator::Kind::numeric);

    markCheck.setChecked(true);
    LoadMarkIcons();

    client.setAutoFillBackground(true);
    QPalette background = client.palette();
    background.setColor(QPalette::Window, dialogBackColor);
    client.setPalette(background);
    QPalette checkPalette = markCheck.palette();
    checkPalette.setColor(QPalette::Window, palette().color(QPalette::Button));
    checkPalette.setColor(QPalette::WindowText, palette().color(QPalette::ButtonText));
    markCheck.setPalette(checkPalette);

    markSpin.SetRange(0, kHighestMark);
    markSpin.SetBuddy(&markField);
    markSpin.SetPos(0);

    CaptureLayout();
    if (currentView == 1)
        ShowImportView();
    else
        ShowEditView();

    for (ListBase* list : {static_cast<ListBase*>(&editList), static_cast<ListBase*>(&importList),
                           static_cast<ListBase*>(&targetList)}) {
        list->SetColors(listBackColor, listTextColor);
        list->SetImageList(&markImagesSmall);
    }
    for (int c = 0; c < static_cast<int>(kColumns.size()); ++c) {
        const QString heading = QString::fromUtf8(kColumns[static_cast<std::size_t>(c)].heading);
        const int width = kColumns[static_cast<std::size_t>(c)].width;
        editList.InsertColumn(c, heading, width);
        importList.InsertColumn(c, heading, width);
        targetList.InsertColumn(c, heading, width);
    }

    connect(&exitButton, &QPushButton::clicked, this, [this] { OnCancel(); });
    connect(&changeButton, &QPushButton::clicked, this, [this] { OnChange(); });
    connect(&addButton, &QPushButton::clicked, this, [this] { OnAdd(); });
    connect(&deleteButton, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(&transferButton, &QPushButton::clicked, this, [this] { OnTransfer(); });
    connect(&markCheck, &QCheckBox::clicked, this, [this] { OnMarkCheck(); });
    for (PointListCtrl* list : {&editList, &targetList}) {
        connect(list, &ListBase::DoubleClicked, this, [this] { OnChange(); });
        connect(list, &ListBase::Clicked, this, [this, list] { OnListClick(*list); });
        // A drag's move is a step of the history like any other change; the step moves the
        // point in the book and in both lists, so both always show the book's order.
        list->SetDropHandler([this](int from, int to) { OnMovePoint(from, to); });
    }
    // The book counts as changed exactly when its history stands elsewhere than where it
    // was last loaded or saved.
    undoStack.setUndoLimit(kUndoSteps);
    connect(&undoStack, &QUndoStack::indexChanged, this, [this] { book.SetModified(!undoStack.isClean()); });
    // Both lists of the edited book show the same selection, focus and ticks, so that a
    // command means the same point whichever view is shown.
    connect(&editList, &ListBase::RowStateChanged, this, [this] { MirrorRowStates(editList, targetList); });
    connect(&targetList, &ListBase::RowStateChanged, this, [this] { MirrorRowStates(targetList, editList); });
    importList.SetDropTarget([this] { return GetTargetListRect(); }, [this] { OnTransfer(); });

    if (!filePath.isEmpty()) {
        // A named file that is not a .mem file, cannot be opened or fails its check must
        // not become the target of a plain save.
        const bool refused = !AcceptPath(filePath) || RefuseOtherKinds(filePath);
        const LoadResult result = refused ? LoadResult::failed : book.Load(Encoded(filePath));
        if (result == LoadResult::failed || result == LoadResult::rejected) {
            filePath.clear();
            SetCurrentFile(filePath);
        }
        RefreshLists();
    }
    setWindowIcon(icon);
}

void MainDialog::LoadMarkIcons() { MarkIconFiles::Load(markImagesLarge, markImagesSmall); }

// ---- rows

void MainDialog::RefreshLists()
{
    editList.DeleteAllItems();
    targetList.DeleteAllItems();
    for (int i = 0; i < PointBook::kCapacity; ++i) {
        if (book.IsOccupied(i))
            InsertRow(i, RowRecord::FromBook(book, i));
    }
    UpdateTitle();
    editList.viewport()->update();
    targetList.viewport()->update();
}

void MainDialog::InsertRow(int index, const RowRecord& row)
{
    const int image = row.ImageIndex();
    const int inserted = editList.InsertItem(index, row[RowRecord::name], image);
    targetList.InsertItem(index, row[RowRecord::name], image);
    for (int c = 1; c < RowRecord::kColumns; ++c) {
        editList.SetItemText(inserted, c, row[c]);
        targetList.SetItemText(inserted, c, row[c]);
    }
}

void MainDialog::SelectRow(int index)
{
    editList.SelectItem(index);
    targetList.SelectItem(index);
}

void MainDialog::SyncRowState(int index, int mark)
{
    if (index < 0 || index >= editList.GetItemCount())
        return;
    ListBase::ItemState state = editList.GetItemState(index);
    state.image = mark;
    editList.SetItemState(index, state);
    targetList.SetItemState(index, state);
}

int MainDialog::FirstSelectedRow(const ListBase& list) { return list.GetNextSelected(-1); }

void MainDialog::ShowEntry(int index)
{
    const RowRecord row = RowRecord::FromBook(book, index);
    for (int c = 0; c < RowRecord::kColumns; ++c) {
        editList.SetItemText(index, c, row[c]);
        targetList.SetItemText(index, c, row[c]);
    }
    SyncRowState(index, row.ImageIndex());
}

void MainDialog::DeleteRow(int index)
{
    editList.DeleteItem(index);
    targetList.DeleteItem(index);
}

void MainDialog::MoveRow(int from, int to)
{
    editList.MoveRow(from, to);
    targetList.MoveRow(from, to);
}

int MainDialog::SelectedRow() const { return FirstSelectedRow(editList); }

void MainDialog::RestoreSelection(int index)
{
    editList.clearSelection();
    targetList.clearSelection();
    SelectRow(index);
}

bool MainDialog::RowChecked(int index) const { return editList.GetCheck(index); }

void MainDialog::SetRowChecked(int index, bool checked)
{
    editList.SetCheck(index, checked);
    targetList.SetCheck(index, checked);
}

void MainDialog::MirrorRowStates(const ListBase& from, ListBase& to)
{
    // Rows are inserted, moved and deleted in one list and then the other: in between the
    // two do not show the same points.
    if (mirroring || from.GetItemCount() != to.GetItemCount())
        return;
    mirroring = true;
    for (int row = 0; row < from.GetItemCount(); ++row) {
        const ListBase::ItemState source = from.GetItemState(row);
        ListBase::ItemState state = to.GetItemState(row);
        if (state.selected == source.selected && state.focused == source.focused && state.checked == source.checked)
            continue;
        state.selected = source.selected;
        state.focused = source.focused;
        state.checked = source.checked;
        to.SetItemState(row, state);
    }
    mirroring = false;
}

// ---- file commands

void MainDialog::UpdateTitle()
{
    setWindowTitle((filePath.isEmpty() ? kNoFileTitle : filePath) + kCountLabel +
                   QString::number(book.GetCount()));
}

void MainDialog::SetCurrentFile(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    fileDialogDir = slash >= 0 ? path.left(slash + 1) : QString();
    savePath = PointBook::HasMemExtension(Encoded(path)) ? path : QString();
}

bool MainDialog::SaveToTarget()
{
    QString target = savePath;
    if (target.isEmpty()) {
        target = AskSavePath();
        if (target.isEmpty())
            return false;
    }
    return WriteTo(target);
}

bool MainDialog::WriteTo(const QString& path)
{
    if (!ConfirmOverwriteChanged(path))
        return false;
    // The changes count as saved only once they are on disk.
    if (!book.Save(Encoded(path)))
        return false;
    undoStack.setClean();
    book.SetModified(false);
    // The file written is the current file: the title names it and the next plain save
    // writes it again. A name that was never written never becomes current.
    if (path != filePath || path != savePath) {
        filePath = path;
        SetCurrentFile(filePath);
        savePath = path;
        UpdateTitle();
    }
    return true;
}

QString MainDialog::AskSavePath()
{
    // Every save dialog asks before replacing a file.
    const QString chosen = prompter.SaveFileName(this, {kSaveFilter, kDefaultExtension, fileDialogDir, true});
    return chosen.isEmpty() || AcceptPath(chosen) ? chosen : QString();
}

bool MainDialog::AcceptPath(const QString& path)
{
    const QString problem = FileNameCheck::Problem(path);
    if (!problem.isEmpty())
        prompter.Message(this, problem, Prompter::Buttons::ok, Prompter::Icon::exclamation);
    return problem.isEmpty();
}

bool MainDialog::ConfirmOverwriteChanged(const QString& path)
{
    if (!book.ChangedOnDisk(Encoded(path)))
        return true;
    return prompter.Message(this, path + kChangedOnDisk, Prompter::Buttons::yesNo,
                            Prompter::Icon::exclamation) == Prompter::Answer::yes;
}

void MainDialog::OnFileSave()
{
    if (!book.IsModified())
        return;
    if (filePath.isEmpty())
        OnFileSaveAs();
    else
        SaveToTarget();
}

void MainDialog::OnFileSaveAs()
{
    const QString chosen = AskSavePath();
    if (chosen.isEmpty())
        return;
    // A name of another kind than .mem is asked for once more before anything is written.
    const QString target = PointBook::HasMemExtension(Encoded(chosen)) ? chosen : AskSavePath();
    if (!target.isEmpty())
        WriteTo(target);
}

bool MainDialog::ConfirmDiscard()
{
    if (!book.IsModified())
        return true;
    const QString text = (savePath.isEmpty() ? kNewFilePrompt : filePath + kChangedPrompt) + kSavePrompt;
    switch (prompter.Message(this, text, Prompter::Buttons::yesNoCancel, Prompter::Icon::exclamation)) {
    case Prompter::Answer::yes:
        return SaveToTarget();
    case Prompter::Answer::no:
        return true;
    default:
        return false;
    }
}

bool MainDialog::RefuseOtherKinds(const QString& path)
{
    if (PointBook::HasMemExtension(Encoded(path)))
        return false;
    ShowBookMessage(QString::fromUtf8(messages::kNotMemFile).arg(QFileInfo(path).fileName()).toStdString());
    return true;
}

void MainDialog::OpenFile(const QString& path)
{
    if (!AcceptPath(path) || RefuseOtherKinds(path))
        return;
    const LoadResult result = book.Load(Encoded(path));
    if (result == LoadResult::failed || result == LoadResult::rejected)
        return;
    filePath = path;
    SetCurrentFile(filePath);
    // A file just opened has nothing to take back.
    undoStack.clear();
    RefreshLists();
}

void MainDialog::OnFileOpen()
{
    if (!ConfirmDiscard())
        return;
    const QString chosen = prompter.OpenFileName(this, {kOpenFilter, kDefaultExtension, fileDialogDir, false});
    if (!chosen.isEmpty())
        OpenFile(chosen);
}

void MainDialog::OnDropFiles(const QString& path)
{
    if (path.isEmpty() || !AcceptPath(path) || RefuseOtherKinds(path) || !ConfirmDiscard())
        return;
    OpenFile(path);
}

void MainDialog::OnCancel()
{
    if (!ConfirmDiscard())
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
            const int row = static_cast<ListBase*>(focused)->currentRow();
            if (row >= 0) {
                SelectRow(row);
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
    currentView = 0;
    for (QWidget* w : {static_cast<QWidget*>(&importList), static_cast<QWidget*>(&targetList),
                       static_cast<QWidget*>(&transferButton), static_cast<QWidget*>(&markField),
                       static_cast<QWidget*>(&markSpin), static_cast<QWidget*>(&markCheck)})
        w->hide();
    editList.show();
}

void MainDialog::ShowImportView()
{
    currentView = 1;
    editList.hide();
    for (QWidget* w : {static_cast<QWidget*>(&importList), static_cast<QWidget*>(&targetList),
                       static_cast<QWidget*>(&transferButton), static_cast<QWidget*>(&markCheck)})
        w->show();
    markField.setGeometry(markField.x(), markField.y(), transferButton.width(), markField.height());
    markSpin.SetBuddy(&markField);
    OnMarkCheck();
}

void MainDialog::CaptureLayout()
{
    int previousBottom = 0;
    std::size_t k = 0;
    for (QWidget* b : {static_cast<QWidget*>(&changeButton), static_cast<QWidget*>(&addButton),
                       static_cast<QWidget*>(&deleteButton), static_cast<QWidget*>(&exitButton)}) {
        buttonSpacing[k++] = b->y() - previousBottom;
        previousBottom = Bottom(*b);
    }
    initialClientHeight = client.height();
    listTop = editList.y();
    listLeft = editList.x();
    bottomMargin = client.height() - Bottom(editList);
    rightMargin = client.width() - Right(editList);
    listButtonGap = changeButton.x() - Right(editList);
}

void MainDialog::PlaceButton(QWidget& button, const QRect& list, int& y, int offset)
{
    const int left = list.x() + list.width() + listButtonGap;
    MoveWindow(button, left, y + offset, left + button.width(), y + offset + button.height());
    y = Bottom(button);
}

void MainDialog::OnSize()
{
    if (!layoutReady) {
        layoutReady = true;
        return;
    }
    for (QWidget* w : {static_cast<QWidget*>(&markCheck), static_cast<QWidget*>(&transferButton),
                       static_cast<QWidget*>(&markSpin), static_cast<QWidget*>(&markField),
                       static_cast<QWidget*>(&changeButton), static_cast<QWidget*>(&addButton),
                       static_cast<QWidget*>(&deleteButton), static_cast<QWidget*>(&exitButton)})
        w->hide();

    const int w = client.width();
    const int h = client.height();
    const double ratio = static_cast<double>(
        static_cast<unsigned>(h) * 10000u / static_cast<unsigned>(std::max(initialClientHeight, 1)));
    const int right = w - rightMargin;
    const int bottom = h - bottomMargin;
    const QRect list(listLeft, listTop, right - listLeft, bottom - listTop);

    MoveWindow(editList, listLeft, listTop, right, bottom);
    MoveWindow(importList, listLeft, listTop, right / 2 - 40, bottom);
    MoveWindow(targetList, right / 2 + 40, listTop, right, bottom);
    const int transferWidth = transferButton.width();
    const int middleLeft = right / 2 - transferWidth / 2;
    transferButton.move(middleLeft, transferButton.y());
    markCheck.move(middleLeft, markCheck.y());
    markField.setGeometry(middleLeft, markField.y(), transferWidth, markField.height());
    if (currentView == 1) {
        markSpin.show();
        markSpin.SetBuddy(&markField);
    }

    int y = 0;
    std::size_t k = 0;
    for (QWidget* b : {static_cast<QWidget*>(&changeButton), static_cast<QWidget*>(&addButton),
                       static_cast<QWidget*>(&deleteButton)}) {
        const int offset = static_cast<int>(buttonSpacing[k++] * ratio * 0.0001);
        PlaceButton(*b, list, y, offset);
    }
    const double s = buttonSpacing[3] * ratio * 0.0001;
    const int t = bottom - exitButton.height();
    const int exitTop = t > y ? static_cast<int>(t - s) + static_cast<int>(s)
                              : static_cast<int>(y - s) + static_cast<int>(s);
    exitButton.move(right + listButtonGap, exitTop);

    if (currentView == 1) {
        for (QWidget* c : {static_cast<QWidget*>(&markCheck), static_cast<QWidget*>(&markSpin),
                           static_cast<QWidget*>(&markField), static_cast<QWidget*>(&transferButton),
                           static_cast<QWidget*>(&importList), static_cast<QWidget*>(&targetList)})
            c->show();
        OnMarkCheck();
    } else {
        editList.show();
    }
    for (QWidget* b : {static_cast<QWidget*>(&changeButton), static_cast<QWidget*>(&addButton),
                       static_cast<QWidget*>(&deleteButton), static_cast<QWidget*>(&exitButton)})
        b->show();
}

void MainDialog::OnMarkCheck()
{
    if (markCheck.isChecked()) {
        transferButton.show();
        markSpin.show();
        markField.show();
    } else {
        markSpin.hide();
        markField.hide();
    }
}

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
        OnSize();
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
    const ListBase& list = currentView == 0 ? static_cast<ListBase&>(editList) : targetList;
    const int i = FirstSelectedRow(list);
    if (i < 0)
        return;
    PointEditDialog dialog(prompter, this);
    dialog.name = list.GetItemText(i, RowRecord::name);
    dialog.longitude = list.GetItemText(i, RowRecord::longitude);
    dialog.latitude = list.GetItemText(i, RowRecord::latitude);
    dialog.mark = list.GetItemText(i, RowRecord::mark);
    dialog.reading = list.GetItemText(i, RowRecord::reading);
    dialog.telephone = list.GetItemText(i, RowRecord::telephone);
    if (prompter.RunDialog(dialog) == QDialog::Accepted) {
        const ChangePointCommand::Texts typed = {dialog.name,    dialog.longitude, dialog.latitude,
                                                 dialog.mark,    dialog.reading,   dialog.telephone};
        ChangePointCommand::Texts shown;
        for (int k = 0; k < RowRecord::kColumns; ++k)
            shown[static_cast<std::size_t>(k)] = editList.GetItemText(i, k);
        undoStack.push(new ChangePointCommand(book, *this, i, typed, shown));
    }
    editList.viewport()->update();
}

void MainDialog::OnAdd()
{
    if (book.GetCount() >= PointBook::kCapacity) {
        prompter.Message(this, QString::fromUtf8(messages::kTooManyPoints), Prompter::Buttons::ok,
                         Prompter::Icon::none);
        return;
    }
    const int selected = FirstSelectedRow(editList);
    const int p = selected >= 0 ? selected : book.GetCount();
    PointEditDialog dialog(prompter, this);
    dialog.mark = QStringLiteral("0");
    dialog.distanceIndex = 0;
    if (prompter.RunDialog(dialog) != QDialog::Accepted)
        return;
    using Cp = Cp932;
    const PointEntry entry =
        PointEntry::FromTexts(Cp::Checked(dialog.name), Cp::Checked(dialog.reading), Cp::Checked(dialog.longitude),
                              Cp::Checked(dialog.latitude), Cp::Checked(dialog.telephone), Cp::Checked(dialog.mark));
    undoStack.push(new AddPointCommand(book, *this, p, entry));
}

void MainDialog::OnDelete()
{
    const int i = FirstSelectedRow(editList);
    if (i >= 0)
        undoStack.push(new DeletePointCommand(book, *this, i));
}

void MainDialog::OnMoveUp() { MoveSelectedBy(-1); }

void MainDialog::OnMoveDown() { MoveSelectedBy(1); }

void MainDialog::MoveSelectedBy(int places)
{
    PointListCtrl& list = currentView == 0 ? editList : targetList;
    const int i = FirstSelectedRow(list);
    if (i < 0)
        return;
    // The same move as a drag that drops the row in front of the row above, or in front
    // of the row after the one below.
    const int to = places < 0 ? i - 1 : i + 2;
    if (to < 0 || to > list.GetItemCount())
        return;
    OnMovePoint(i, to);
    list.scrollTo(list.model()->index(FirstSelectedRow(list), 0));
}

void MainDialog::OnMovePoint(int from, int to)
{
    if (editList.Moves(from, to))
        undoStack.push(new MovePointCommand(book, *this, from, to));
}

void MainDialog::OnListClick(ListBase& list)
{
    const int i = FirstSelectedRow(list);
    if (i >= 0)
        SelectRow(i);
}

void MainDialog::OnTransfer()
{
    if (targetList.GetItemCount() + importList.GetSelectedCount() > PointBook::kCapacity) {
        prompter.Message(this, QString::fromUtf8(messages::kTooManyPoints), Prompter::Buttons::ok,
                         Prompter::Icon::none);
        return;
    }
    const int selected = FirstSelectedRow(editList);
    const int p = selected >= 0 ? selected : targetList.GetItemCount();
    std::vector<PointEntry> copies;
    for (int i = importList.GetNextSelected(-1); i >= 0; i = importList.GetNextSelected(i)) {
        PointEntry copy = importList.Point(i);
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
        undoStack.push(new TransferCommand(book, *this, p, std::move(copies)));
}

QRect MainDialog::GetTargetListRect() const
{
    return QRect(targetList.mapToGlobal(QPoint(0, 0)), targetList.size());
}

void MainDialog::OnBatchConvert()
{
    MarkDialog dialog(prompter, this);
    if (book.GetCount() == 0)
        return;
    if (prompter.RunDialog(dialog) != QDialog::Accepted)
        return;
    std::vector<int> ticked;
    for (int i = 0; i < book.GetCount(); ++i) {
        if (editList.GetCheck(i))
            ticked.push_back(i);
    }
    if (!ticked.empty())
        undoStack.push(new BatchConvertCommand(book, *this, dialog.mark, std::move(ticked)));
}

void MainDialog::OnSelectAll()
{
    for (int i = 0; i < book.GetCount(); ++i)
        editList.SetCheck(i, true);
}

void MainDialog::OnDeselectAll()
{
    for (int i = 0; i < book.GetCount(); ++i)
        editList.SetCheck(i, false);
}

// ---- points in and out of other formats

namespace {

const QString kExportFilter = QStringLiteral(
    "GPX ファイル (*.gpx)|*.gpx|KML ファイル (*.kml)|*.kml|KMZ ファイル (*.kmz)|*.kmz|"
    "CSV ファイル (*.csv)|*.csv|GeoJSON ファイル (*.geojson)|*.geojson||");
const QString kImportFilter = QStringLiteral(
    "地点のファイル (*.mem;*.gpx;*.kml;*.kmz;*.csv;*.geojson;*.json)|*.mem;*.gpx;*.kml;*.kmz;*.csv;*.geojson;*.json|"
    "すべてのファイル (*.*)|*.*||");
const QString kDatumSetting = QStringLiteral("deviceDatum");
// The Geospatial Information Authority of Japan's map: zoom, latitude, longitude.
const QString kMapUrl = QStringLiteral("https://maps.gsi.go.jp/#17/%1/%2/");

QSettings Settings() { return QSettings(QStringLiteral("Tovik"), QStringLiteral("Tovik")); }

}  // namespace

void MainDialog::BuildExchangeMenus(QMenu* file, QMenu* edit, QMenu* view)
{
    // After the described items: ﾌｧｲﾙ's after 名前を付けて保存, the others at the end.
    const QList<QAction*> fileActions = file->actions();
    const auto saveAs = std::find_if(fileActions.begin(), fileActions.end(),
                                     [](const QAction* a) { return a->text() == QStringLiteral("名前を付けて保存"); });
    QAction* after = saveAs != fileActions.end() && saveAs + 1 != fileActions.end() ? *(saveAs + 1) : nullptr;
    auto* exportAction = new QAction(QStringLiteral("エクスポート..."), file);
    auto* importAction = new QAction(QStringLiteral("取りこみファイルを開く..."), file);
    file->insertActions(after, {exportAction, importAction});
    connect(exportAction, &QAction::triggered, this, [this] { OnFileExport(); });
    connect(importAction, &QAction::triggered, this, [this] { OnOpenImportFile(); });

    edit->addSeparator();
    connect(edit->addAction(QStringLiteral("地図で見る")), &QAction::triggered, this, [this] { OnShowOnMap(); });

    view->addSeparator();
    QMenu* datumMenu = view->addMenu(QStringLiteral("本体の測地系"));
    auto* group = new QActionGroup(datumMenu);
    const std::array<std::pair<QString, DeviceDatum>, 2> choices{{
        {QStringLiteral("日本測地系 (Tokyo)"), DeviceDatum::tokyo},
        {QStringLiteral("世界測地系 (WGS 84)"), DeviceDatum::wgs84},
    }};
    for (std::size_t k = 0; k < choices.size(); ++k) {
        QAction* a = datumMenu->addAction(choices[k].first);
        a->setCheckable(true);
        group->addAction(a);
        const DeviceDatum datum = choices[k].second;
        connect(a, &QAction::triggered, this, [this, datum] { SetDeviceDatum(datum); });
        datumActions[k] = a;
    }
    const auto saved = DatumConverter::FromName(Settings().value(kDatumSetting).toString().toStdString());
    deviceDatum = saved.value_or(DeviceDatum::tokyo);
    datumActions[deviceDatum == DeviceDatum::tokyo ? 0 : 1]->setChecked(true);
    importList.SetDeviceDatum(deviceDatum);
}

void MainDialog::SetDeviceDatum(DeviceDatum datum)
{
    deviceDatum = datum;
    datumActions[datum == DeviceDatum::tokyo ? 0 : 1]->setChecked(true);
    importList.SetDeviceDatum(datum);
    QSettings settings = Settings();
    settings.setValue(kDatumSetting, QString::fromLatin1(DatumConverter::Name(datum)));
}

void MainDialog::OnFileExport()
{
    const QString chosen = prompter.SaveFileName(this, {kExportFilter, QStringLiteral("gpx"), fileDialogDir, true});
    if (chosen.isEmpty())
        return;
    const auto format = ExchangeFormat::FromPath(chosen);
    if (!format || *format == ExchangeFormat::mem) {
        prompter.Message(this, QStringLiteral("GPX、KML、KMZ、CSV、GeoJSON のどれかの拡張子を付けてください。"),
                         Prompter::Buttons::ok, Prompter::Icon::exclamation);
        return;
    }
    std::vector<PointEntry> entries;
    for (int i = 0; i < book.GetCount(); ++i)
        entries.push_back(book.Entry(i));
    PointExchange::ExportOptions options;
    options.format = *format;
    options.title = filePath.isEmpty() ? QFileInfo(chosen).completeBaseName() : QFileInfo(filePath).completeBaseName();
    options.icons = &MarkPngs::Png;
    QString error;
    const QByteArray bytes = PointExchange::Export(entries, ExchangeConverter(deviceDatum), options, error);
    if (error.isEmpty())
        error = PointExchange::WriteFile(Encoded(chosen), bytes);
    if (!error.isEmpty())
        prompter.Message(this, error, Prompter::Buttons::ok, Prompter::Icon::exclamation);
}

void MainDialog::OnOpenImportFile()
{
    const QString chosen = prompter.OpenFileName(this, {kImportFilter, QString(), fileDialogDir, false});
    if (chosen.isEmpty())
        return;
    ShowImportView();
    importList.LoadFile(chosen);
}

void MainDialog::OnShowOnMap()
{
    const int i = FirstSelectedRow(currentView == 0 ? static_cast<ListBase&>(editList) : targetList);
    const int imported = currentView == 1 && i < 0 ? FirstSelectedRow(importList) : -1;
    if (i < 0 && imported < 0)
        return;
    const PointEntry& e = imported >= 0 ? importList.Point(imported) : book.Entry(i);
    const DatumConverter datum(deviceDatum);
    const auto wgs = datum.ToWgs84({DatumConverter::Degrees(e.latitude, e.latitudeFraction),
                                    DatumConverter::Degrees(e.longitude, e.longitudeFraction)});
    if (!wgs) {
        prompter.Message(this, QString::fromStdString(datum.Error()), Prompter::Buttons::ok,
                         Prompter::Icon::exclamation);
        return;
    }
    // Six decimals are about ten centimetres, finer than the map shows.
    QDesktopServices::openUrl(
        QUrl(kMapUrl.arg(QString::number(wgs->latitude, 'f', 6), QString::number(wgs->longitude, 'f', 6))));
}

}  // namespace tovik
