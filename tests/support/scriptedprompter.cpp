// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/scriptedprompter.h"

#include <gtest/gtest.h>

namespace tovik::test {

Prompter::Answer ScriptedPrompter::Message(QWidget*, const QString& text, Buttons buttons, Icon icon)
{
    shown.push_back({text, buttons, icon});
    if (buttons == Buttons::ok)
        return Answer::ok;
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::cancel;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

namespace {
QString Next(std::deque<QString>& names, const char* dialog)
{
    if (names.empty()) {
        ADD_FAILURE() << "unexpected " << dialog << " dialog";
        return {};
    }
    QString name = names.front();
    names.pop_front();
    return name;
}
}  // namespace

QString ScriptedPrompter::OpenFileName(QWidget*, const FileRequest& request)
{
    openRequests.push_back(request);
    return Next(openNames, "open");
}

QString ScriptedPrompter::SaveFileName(QWidget*, const FileRequest& request)
{
    saveRequests.push_back(request);
    return Next(saveNames, "save");
}

int ScriptedPrompter::RunDialog(QDialog& dialog)
{
    if (dialogs.empty()) {
        ADD_FAILURE() << "unexpected dialog";
        return 0;
    }
    auto play = std::move(dialogs.front());
    dialogs.pop_front();
    return play(dialog);
}

QStringList ScriptedPrompter::Texts() const
{
    QStringList texts;
    for (const Shown& s : shown)
        texts << s.text;
    return texts;
}

}  // namespace tovik::test
