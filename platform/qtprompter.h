// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include "platform/prompter.h"

namespace tovik {

// Message boxes and file dialogs on Qt's own widgets, so that they speak Japanese with
// Qt's translations on every platform.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QString caption);

    Answer Message(QWidget* parent, const QString& text, Buttons buttons, Icon icon) override;
    QString OpenFileName(QWidget* parent, const FileRequest& request) override;
    QString SaveFileName(QWidget* parent, const FileRequest& request) override;
    int RunDialog(QDialog& dialog) override;

    // "desc|*.mem|all (*.*)|*.*||" as Qt name filters: each description as it stands,
    // matched by its own pattern.
    static QStringList NameFilters(const QString& filter);

private:
    QString RunFileDialog(QWidget* parent, const FileRequest& request, bool save);

    QString caption;
};

}  // namespace tovik
