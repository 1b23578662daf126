// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainmenu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "app/exchangeactions.h"
#include "app/maindialog.h"
#include "app/pointdocument.h"
#include "editing/rowselection.h"

namespace tovik {

namespace {

const QString kUndo = QStringLiteral("元に戻す");
const QString kRedo = QStringLiteral("やり直し");

}  // namespace

MainMenu::MainMenu(QMenuBar& bar, MainDialog& window) : window(window)
{
    BuildFile(bar);
    BuildEdit(bar);
    QMenu* convert = bar.addMenu(QStringLiteral("変換(&C)"));
    Add(convert, QStringLiteral("一括変換"), &MainDialog::OnBatchConvert);
    convert->addSeparator();
    Add(convert, QStringLiteral("全て選択"), &MainDialog::OnSelectAll);
    Add(convert, QStringLiteral("選択解除"), &MainDialog::OnDeselectAll);
    AddSortAndDuplicates(convert);
    BuildView(bar);
    QMenu* help = bar.addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    Add(help, QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(Tovik) "), &MainDialog::OnAbout);
}

QAction* MainMenu::Add(QMenu* menu, const QString& text, void (MainDialog::*handler)())
{
    QAction* a = menu->addAction(text);
    connect(a, &QAction::triggered, &window, handler);
    return a;
}

void MainMenu::BuildFile(QMenuBar& bar)
{
    QMenu* file = bar.addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    Add(file, QStringLiteral("開く"), &MainDialog::OnFileOpen)->setShortcut(QKeySequence::Open);
    Add(file, QStringLiteral("上書き保存"), &MainDialog::OnFileSave)->setShortcut(QKeySequence::Save);
    Add(file, QStringLiteral("名前を付けて保存"), &MainDialog::OnFileSaveAs)->setShortcut(QKeySequence::SaveAs);
    Add(file, QStringLiteral("エクスポート..."), &MainDialog::OnFileExport);
    Add(file, QStringLiteral("取りこみファイルを開く..."), &MainDialog::OnOpenImportFile);
    file->addSeparator();
    QAction* quit = file->addAction(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了"));
    connect(quit, &QAction::triggered, &window, &QWidget::close);
}

void MainMenu::BuildEdit(QMenuBar& bar)
{
    QMenu* edit = bar.addMenu(QStringLiteral("編集(&E)"));
    Add(edit, QStringLiteral("変更"), &MainDialog::OnChange);
    Add(edit, QStringLiteral("追加"), &MainDialog::OnAdd);
    Add(edit, QStringLiteral("削除"), &MainDialog::OnDelete);
    edit->addSeparator();
    Add(edit, QStringLiteral("移動"), &MainDialog::OnTransfer);
    edit->addSeparator();
    Add(edit, QStringLiteral("上へ移動"), &MainDialog::OnMoveUp)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    Add(edit, QStringLiteral("下へ移動"), &MainDialog::OnMoveDown)->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    edit->addSeparator();
    QUndoStack& history = window.Document().History();
    QAction* undo = edit->addAction(kUndo);
    connect(undo, &QAction::triggered, &history, &QUndoStack::undo);
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = edit->addAction(kRedo);
    connect(redo, &QAction::triggered, &history, &QUndoStack::redo);
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // Each names the step it takes back or takes again, and is there only when there is one.
    auto follow = [](QAction* action, const QString& verb) {
        return [action, verb](const QString& step) { action->setText(step.isEmpty() ? verb : verb + ": " + step); };
    };
    undo->setEnabled(false);
    redo->setEnabled(false);
    connect(&history, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(&history, &QUndoStack::undoTextChanged, undo, follow(undo, kUndo));
    connect(&history, &QUndoStack::redoTextChanged, redo, follow(redo, kRedo));
    edit->addSeparator();
    showOnMap = Add(edit, QStringLiteral("地図で見る"), &MainDialog::OnShowOnMap);
    edit->addSeparator();
    QAction* find = edit->addAction(QStringLiteral("検索"));
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, &window, [this] { window.Finder().Open(); });
}

void MainMenu::BuildView(QMenuBar& bar)
{
    QMenu* view = bar.addMenu(QStringLiteral("表示(&V)"));
    Add(view, QStringLiteral("編集画面"), &MainDialog::ShowEditView);
    Add(view, QStringLiteral("ファイル取りこみ画面"), &MainDialog::ShowImportView);
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
        connect(a, &QAction::triggered, &window, [this, datum] { window.Exchange().SetDatum(datum); });
        datumActions[k] = a;
    }
    ShowDatum(window.Exchange().Datum());
    connect(&window.Exchange(), &ExchangeActions::DatumChanged, this, &MainMenu::ShowDatum);
    view->addSeparator();
    QAction* map = view->addAction(QStringLiteral("地図"));
    map->setCheckable(true);
    map->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    window.Map().Attach(*map);
}

void MainMenu::ShowDatum(DeviceDatum datum) { datumActions[datum == DeviceDatum::tokyo ? 0 : 1]->setChecked(true); }

void MainMenu::AddSortAndDuplicates(QMenu* convert)
{
    convert->addSeparator();
    QMenu* sort = convert->addMenu(QStringLiteral("並べ替え"));
    for (const PointOrder::Key key : {PointOrder::Key::reading, PointOrder::Key::name,
                                      PointOrder::Key::markThenReading, PointOrder::Key::distance}) {
        QAction* a = sort->addAction(SortActions::Name(key));
        connect(a, &QAction::triggered, &window, [this, key] { window.Sorting().Sort(key); });
        if (key != PointOrder::Key::distance)
            continue;
        // Measuring needs a point to measure from.
        PointDocument& document = window.Document();
        auto follow = [a, &document] { a->setEnabled(RowSelection::Selected(document.Selection()) >= 0); };
        connect(&document.Selection(), &QItemSelectionModel::selectionChanged, a, follow);
        connect(&document.Model(), &QAbstractItemModel::modelReset, a, follow);
        follow();
    }
    QAction* check = convert->addAction(QStringLiteral("重複の確認..."));
    connect(check, &QAction::triggered, &window, [this] { window.Duplicates().Check(); });
}

}  // namespace tovik
