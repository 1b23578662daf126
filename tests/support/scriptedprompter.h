// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "platform/prompter.h"

namespace tovik::test {

// Answers message boxes and file dialogs from a script and records what was asked.
// A question the script has no answer for fails the test and is cancelled.
class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        QString text;
        Buttons buttons;
        Icon icon;
    };

    Answer Message(QWidget* parent, const QString& text, Buttons buttons, Icon icon) override;
    QString OpenFileName(QWidget* parent, const FileRequest& request) override;
    QString SaveFileName(QWidget* parent, const FileRequest& request) override;
    int RunDialog(QDialog& dialog) override;

    QStringList Texts() const;

    std::deque<Answer> answers;     // for yes/no/cancel boxes; OK boxes need none
    std::deque<QString> openNames;  // an empty text cancels
    std::deque<QString> saveNames;
    // Each plays the user's part in one dialog and gives its result code.
    std::deque<std::function<int(QDialog&)>> dialogs;
    std::vector<Shown> shown;
    std::vector<FileRequest> openRequests;
    std::vector<FileRequest> saveRequests;
};

}  // namespace tovik::test
