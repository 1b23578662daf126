// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace tovik {

// Everything the program asks or tells the user in a modal box: messages, the file
// dialogs and its own dialogs. The program uses QtPrompter; tests answer from a script.
class Prompter {
public:
    enum class Buttons { ok, yesNoCancel, yesNo };
    enum class Icon { none, exclamation };
    enum class Answer { ok, yes, no, cancel };

    struct FileRequest {
        QString filter;             // "description|pattern|...||"
        QString defaultExtension;   // without the dot
        QString directory;          // where the dialog starts; empty for the current folder
        bool overwritePrompt = false;
        QString title;              // what the dialog is for; empty for the toolkit's own
    };

    virtual ~Prompter() = default;

    virtual Answer Message(QWidget* parent, const QString& text, Buttons buttons, Icon icon) = 0;
    // The chosen full path, or an empty text when the user cancelled.
    virtual QString OpenFileName(QWidget* parent, const FileRequest& request) = 0;
    virtual QString SaveFileName(QWidget* parent, const FileRequest& request) = 0;
    // Runs one of the program's dialogs modally; the dialog's result code.
    virtual int RunDialog(QDialog& dialog) = 0;
};

}  // namespace tovik
