// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qtprompter.h"

#include <QFileDialog>
#include <QMessageBox>

namespace tovik {

QtPrompter::QtPrompter(QString caption) : caption(std::move(caption)) {}

Prompter::Answer QtPrompter::Message(QWidget* parent, const QString& text, Buttons buttons, Icon icon)
{
    QMessageBox box(icon == Icon::exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
                    text, QMessageBox::NoButton, parent);
    if (buttons == Buttons::yesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons == Buttons::yesNo) {
        // Only a deliberate Yes may go on; Enter and Escape keep things as they are.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::yes;
    case QMessageBox::No:
        return Answer::no;
    case QMessageBox::Cancel:
        return Answer::cancel;
    default:
        return Answer::ok;
    }
}

QStringList QtPrompter::NameFilters(const QString& filter)
{
    // Qt takes the pattern from the parentheses of a filter text, so the description
    // is shown as it stands and its own pattern follows out of sight. "*.*" means
    // every file, names without a dot included.
    QStringList filters;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString pattern = parts[i + 1];
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << parts[i];
        filters.last().append(QStringLiteral(" (%1)").arg(pattern.replace(u';', u' ')));
    }
    return filters;
}

QString QtPrompter::RunFileDialog(QWidget* parent, const FileRequest& request, bool save)
{
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setNameFilters(NameFilters(request.filter));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (!request.directory.isEmpty())
        dialog.setDirectory(request.directory);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompter::OpenFileName(QWidget* parent, const FileRequest& request)
{
    return RunFileDialog(parent, request, false);
}

QString QtPrompter::SaveFileName(QWidget* parent, const FileRequest& request)
{
    return RunFileDialog(parent, request, true);
}

int QtPrompter::RunDialog(QDialog& dialog) { return dialog.exec(); }

}  // namespace tovik
