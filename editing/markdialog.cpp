// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/markdialog.h"

#include "core/markrule.h"
#include "platform/bytelimitvalidator.h"
#include "platform/dialogunits.h"
#include "platform/prompter.h"
#include "platform/validation.h"

namespace tovik {

namespace {
}

MarkDialog::MarkDialog(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      prompter(prompter),
      okButton(QStringLiteral("OK"), this),
      markEdit(this),
      caption(QStringLiteral("マーク"), this)
{
    const DialogUnits du = DialogUnits::SetUpDialog(*this, QStringLiteral("MARK"), 9, 134, 43);

    okButton.setGeometry(du.Rect(82, 13, 45, 14));
    okButton.setDefault(true);
    markEdit.setGeometry(du.Rect(38, 12, 19, 16));
    markEdit.setObjectName(QStringLiteral("markField"));
    new ByteLimitValidator(ByteLimitValidator::kUnlimited, markEdit, ByteLimitValidator::Kind::numeric);
    caption.setGeometry(du.Rect(7, 15, 21, 11));
    caption.setBuddy(&markEdit);
    setTabOrder(&okButton, &markEdit);
    connect(&okButton, &QPushButton::clicked, this, [this] { OnOK(); });
}

void MarkDialog::showEvent(QShowEvent* event)
{
    // Only the first time: restoring the minimised dialog keeps what was typed.
    if (!fieldLoaded) {
        fieldLoaded = true;
        markEdit.setText(QString::number(mark));
        okButton.setFocus();
    }
    QDialog::showEvent(event);
}

void MarkDialog::OnOK()
{
    const auto value = Validation::ParseUnsigned(markEdit.text());
    QString problem;
    Prompter::Icon icon = Prompter::Icon::none;
    if (!value) {
        problem = Validation::PositiveIntegerRequired();
    } else if (*value > static_cast<unsigned>(kHighestMark)) {
        problem = Validation::IntegerRange(0, kHighestMark);
        icon = Prompter::Icon::exclamation;
    }
    if (!problem.isEmpty()) {
        prompter.Message(this, problem, Prompter::Buttons::ok, icon);
        markEdit.setFocus();
        markEdit.selectAll();
        return;
    }
    mark = static_cast<unsigned>(*value);
    done(QDialog::Accepted);
}

}  // namespace tovik
