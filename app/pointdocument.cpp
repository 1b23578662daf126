// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/pointdocument.h"

#include <QFile>
#include <QFileInfo>

#include "core/messagetexts.h"
#include "core/pointbook.h"
#include "platform/filenamecheck.h"
#include "platform/prompter.h"

namespace tovik {

namespace {

const QString kNoFileTitle = QStringLiteral("RQ-40 地点編集エディター");
const QString kCountLabel = QStringLiteral("         地点登録数  ");
const QString kChangedPrompt = QStringLiteral("は変更されています。");
const QString kNewFilePrompt = QStringLiteral("新規ファイルです。");
const QString kSavePrompt = QStringLiteral("保存しますか？");
const QString kChangedOnDisk = QStringLiteral("は他のプログラムで変更されています。上書きしますか？");
// %1 the name chosen, %2 the name with the extension that Tovik opens.
const QString kAddExtension =
    QStringLiteral("「%1」は .mem で終わらないため、Tovik で開けません。「%2」として保存しますか？");
const QString kReplace = QStringLiteral("「%1」は既に存在します。上書きしますか？");
const QString kOpenFilter = QStringLiteral("ノルダ ファイル(*.mem)|*.mem|すべてのファイル (*.*)|*.*||");
const QString kSaveFilter = QStringLiteral("ノルダファイル (*.mem)|*.mem|すべてのファイル (*.*)|*.*||");
const QString kDefaultExtension = QStringLiteral("mem");
// How many steps of the history are kept; each holds a few points at most.
constexpr int kUndoSteps = 1000;

std::string Encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

PointDocument::PointDocument(PointBook& book, Prompter& prompter, QWidget& window)
    : book(book), prompter(prompter), window(window), model(book), selection(&model)
{
    history.setUndoLimit(kUndoSteps);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(&model, signal, this, &PointDocument::TitleChanged);
    connect(&model, &QAbstractItemModel::modelReset, this, &PointDocument::TitleChanged);
}

QString PointDocument::Title() const
{
    return (filePath.isEmpty() ? kNoFileTitle : filePath) + kCountLabel + QString::number(book.GetCount());
}

void PointDocument::ShowMessage(const QString& text)
{
    prompter.Message(&window, text, Prompter::Buttons::ok, Prompter::Icon::exclamation);
}

bool PointDocument::AcceptPath(const QString& path)
{
    const QString problem = FileNameCheck::Problem(path);
    if (!problem.isEmpty())
        ShowMessage(problem);
    return problem.isEmpty();
}

void PointDocument::SetCurrentFile(const QString& path)
{
    filePath = path;
    const qsizetype slash = path.lastIndexOf(u'/');
    fileDialogDir = slash >= 0 ? path.left(slash + 1) : QString();
    savePath = PointBook::HasMemExtension(Encoded(path)) ? path : QString();
}

bool PointDocument::RefuseOtherKinds(const QString& path)
{
    if (PointBook::HasMemExtension(Encoded(path)))
        return false;
    ShowMessage(QString::fromUtf8(messages::kNotMemFile).arg(QFileInfo(path).fileName()));
    return true;
}

bool PointDocument::OpenFile(const QString& path)
{
    if (!AcceptPath(path) || RefuseOtherKinds(path))
        return false;
    if (const Result<Loaded> loaded = book.Load(Encoded(path)); !loaded) {
        ShowMessage(QString::fromStdString(loaded.Error()));
        return false;
    }
    SetCurrentFile(path);
    // A file just opened has nothing to take back.
    history.clear();
    model.Reload();
    return true;
}

void PointDocument::OpenAtStart(const QString& path)
{
    if (!path.isEmpty() && !OpenFile(path))
        model.Reload();
}

void PointDocument::Open()
{
    if (!ConfirmDiscard())
        return;
    const QString chosen = prompter.OpenFileName(&window, {kOpenFilter, kDefaultExtension, fileDialogDir, false, {}});
    if (!chosen.isEmpty())
        OpenFile(chosen);
}

void PointDocument::Drop(const QString& path)
{
    if (path.isEmpty() || !AcceptPath(path) || RefuseOtherKinds(path) || !ConfirmDiscard())
        return;
    OpenFile(path);
}

void PointDocument::Save()
{
    if (!IsModified())
        return;
    if (filePath.isEmpty())
        SaveAs();
    else
        SaveToTarget();
}

void PointDocument::SaveAs()
{
    if (const QString target = AskSavePath(); !target.isEmpty())
        WriteTo(target);
}

bool PointDocument::SaveToTarget()
{
    QString target = savePath;
    if (target.isEmpty()) {
        target = AskSavePath();
        if (target.isEmpty())
            return false;
    }
    return WriteTo(target);
}

QString PointDocument::AskSavePath()
{
    // Every save dialog asks before replacing a file.
    const QString chosen = prompter.SaveFileName(&window, {kSaveFilter, kDefaultExtension, fileDialogDir, true, {}});
    if (chosen.isEmpty() || !AcceptPath(chosen))
        return {};
    if (PointBook::HasMemExtension(Encoded(chosen)))
        return chosen;
    // Tovik opens .mem files only: a save never makes a file it would refuse. The name
    // gets the extension, as the file dialog's default suffix would give it.
    const QString named = chosen + u'.' + kDefaultExtension;
    const auto ask = [this](const QString& text) {
        return prompter.Message(&window, text, Prompter::Buttons::yesNo, Prompter::Icon::exclamation) ==
               Prompter::Answer::yes;
    };
    if (!ask(kAddExtension.arg(QFileInfo(chosen).fileName(), QFileInfo(named).fileName())))
        return {};
    if (QFileInfo::exists(named) && !ask(kReplace.arg(QFileInfo(named).fileName())))
        return {};
    return named;
}

bool PointDocument::ConfirmOverwriteChanged(const QString& path)
{
    if (!book.ChangedOnDisk(Encoded(path)))
        return true;
    return prompter.Message(&window, path + kChangedOnDisk, Prompter::Buttons::yesNo, Prompter::Icon::exclamation) ==
           Prompter::Answer::yes;
}

bool PointDocument::WriteTo(const QString& path)
{
    if (!ConfirmOverwriteChanged(path))
        return false;
    // The changes count as saved only once they are on disk.
    if (const Result<void> saved = book.Save(Encoded(path)); !saved) {
        ShowMessage(QString::fromStdString(saved.Error()));
        return false;
    }
    history.setClean();
    // The file written is the current file: the title names it and the next plain save
    // writes it again. A name that was never written never becomes current.
    if (path != filePath || path != savePath) {
        SetCurrentFile(path);
        emit TitleChanged();
    }
    return true;
}

bool PointDocument::ConfirmDiscard()
{
    if (!IsModified())
        return true;
    const QString text = (savePath.isEmpty() ? kNewFilePrompt : filePath + kChangedPrompt) + kSavePrompt;
    switch (prompter.Message(&window, text, Prompter::Buttons::yesNoCancel, Prompter::Icon::exclamation)) {
    case Prompter::Answer::yes:
        return SaveToTarget();
    case Prompter::Answer::no:
        return true;
    default:
        return false;
    }
}

}  // namespace tovik
