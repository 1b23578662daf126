// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/pointeditdialog.h"

#include "platform/bytelimitvalidator.h"
#include "platform/dialogunits.h"
#include "platform/pointfieldrules.h"
#include "platform/prompter.h"
#include "core/markrule.h"

namespace tovik {

namespace {
const QColor kBackground(128, 255, 200);
const QColor kCaptionText(255, 255, 255);
const QColor kCaptionBackground(128, 128, 128);
}  // namespace

PointEditDialog::PointEditDialog(Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      prompter(prompter),
      nameEdit(this),
      readingEdit(this),
      longitudeEdit(this),
      latitudeEdit(this),
      telephoneEdit(this),
      markEdit(this),
      okButton(QStringLiteral("OK"), this),
      cancelButton(QStringLiteral("CANCEL"), this),
      nameCaption(QStringLiteral("地点名称"), this),
      readingCaption(QStringLiteral("フリガナ"), this),
      longitudeCaption(QStringLiteral("東経"), this),
      telephoneCaption(QStringLiteral("TEL"), this),
      markCaption(QStringLiteral("マーク"), this),
      latitudeCaption(QStringLiteral("北緯"), this),
      distanceCaption(QStringLiteral("距離"), this),
      markSpin(this),
      distanceList(this),
      line(this)
{
    const DialogUnits du = DialogUnits::SetUpDialog(*this, QStringLiteral("編集"), 10, 243, 167);

    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, kBackground);
    setPalette(p);

    using Rules = PointFieldRules;
    struct Field {
        QLineEdit* edit;
        int x, y, w, h;
        Rules::Field field;
        const char* name;
    };
    const Field fields[] = {
        {&nameEdit, 50, 6, 64, 12, Rules::name, "nameField"},
        {&readingEdit, 172, 6, 64, 12, Rules::reading, "readingField"},
        {&longitudeEdit, 50, 30, 48, 12, Rules::longitude, "longitudeField"},
        {&latitudeEdit, 172, 30, 48, 12, Rules::latitude, "latitudeField"},
        {&telephoneEdit, 50, 57, 48, 12, Rules::telephone, "telephoneField"},
        {&markEdit, 50, 83, 23, 12, Rules::mark, "markField"},
    };
    for (const Field& f : fields) {
        f.edit->setGeometry(du.Rect(f.x, f.y, f.w, f.h));
        new ByteLimitValidator(Rules::Limit(f.field), *f.edit,
                               Rules::IsNumeric(f.field) ? ByteLimitValidator::Kind::numeric
                                                         : ByteLimitValidator::Kind::text);
        f.edit->setObjectName(QString::fromLatin1(f.name));
    }
    okButton.setGeometry(du.Rect(111, 147, 50, 14));
    okButton.setDefault(true);
    cancelButton.setGeometry(du.Rect(186, 147, 50, 14));
    connect(&okButton, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(&cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    struct Caption {
        ColorTextField* label;
        int x, y;
        QLineEdit* buddy;
    };
    const Caption captions[] = {
        {&nameCaption, 7, 6, &nameEdit},          {&readingCaption, 130, 6, &readingEdit},
        {&longitudeCaption, 7, 32, &longitudeEdit}, {&telephoneCaption, 7, 59, &telephoneEdit},
        {&markCaption, 7, 83, &markEdit},         {&latitudeCaption, 130, 32, &latitudeEdit},
        {&distanceCaption, 130, 59, nullptr},
    };
    for (const Caption& c : captions) {
        c.label->setGeometry(du.Rect(c.x, c.y, 32, 9));
        c.label->setAlignment(Qt::AlignCenter);
        if (c.buddy)
            c.label->setBuddy(c.buddy);
    }
    // The form a coordinate is typed in, shown in the empty field and told to screen readers.
    for (const auto& [field, example] : {std::pair{&longitudeEdit, QStringLiteral("139.45.30.500")},
                                         std::pair{&latitudeEdit, QStringLiteral(" 35.39.31.0")}}) {
        field->setPlaceholderText(example);
        field->setAccessibleDescription(QStringLiteral("度.分.秒.ミリ秒、例 ") + example.trimmed());
    }
    for (ColorTextField* c : {&nameCaption, &readingCaption, &longitudeCaption, &latitudeCaption,
                              &markCaption, &telephoneCaption})
        c->SetTextColor(kCaptionText)->SetBackgroundColor(kCaptionBackground);

    markSpin.setGeometry(du.Rect(76, 83, 9, 12));
    markSpin.setObjectName(QStringLiteral("markSpin"));
    markSpin.setAccessibleName(QStringLiteral("マークの増減"));
    markSpin.setAccessibleDescription(QStringLiteral("マークを 1 ずつ増減します。"));
    markSpin.SetRange(0, kHighestMark);
    markSpin.SetBuddy(&markEdit);

    distanceList.setGeometry(du.Rect(172, 56, 44, 12));
    for (int m = 0; m <= 900; m += 100)
        distanceList.addItem(QStringLiteral("%1 m").arg(m));
    distanceList.hide();
    distanceCaption.hide();

    line.setFrameShape(QFrame::HLine);
    line.setFrameShadow(QFrame::Sunken);
    line.setGeometry(du.Rect(7, 104, 229, 1).adjusted(0, 0, 0, 1));

    setTabOrder(&nameEdit, &readingEdit);
    setTabOrder(&readingEdit, &longitudeEdit);
    setTabOrder(&longitudeEdit, &latitudeEdit);
    setTabOrder(&latitudeEdit, &telephoneEdit);
    setTabOrder(&telephoneEdit, &markEdit);
    setTabOrder(&markEdit, &okButton);
    setTabOrder(&okButton, &cancelButton);
}

void PointEditDialog::LoadFields()
{
    ByteLimitValidator::SetText(nameEdit, name);
    ByteLimitValidator::SetText(readingEdit, reading);
    ByteLimitValidator::SetText(longitudeEdit, longitude);
    ByteLimitValidator::SetText(markEdit, mark);
    ByteLimitValidator::SetText(latitudeEdit, latitude);
    ByteLimitValidator::SetText(telephoneEdit, telephone);
    distanceList.setCurrentIndex(distanceIndex);
    nameEdit.setFocus();
}

void PointEditDialog::showEvent(QShowEvent* event)
{
    if (!fieldsLoaded) {
        fieldsLoaded = true;
        LoadFields();
    }
    QDialog::showEvent(event);
}

void PointEditDialog::OnOK()
{
    using Rules = PointFieldRules;
    struct Field {
        QLineEdit* edit;
        QString* text;
        Rules::Field field;
    };
    const Field fields[] = {
        {&nameEdit, &name, Rules::name},         {&readingEdit, &reading, Rules::reading},
        {&longitudeEdit, &longitude, Rules::longitude}, {&markEdit, &mark, Rules::mark},
        {&latitudeEdit, &latitude, Rules::latitude}, {&telephoneEdit, &telephone, Rules::telephone},
    };
    for (const Field& f : fields) {
        const QString text = f.edit->text();
        if (text == *f.text)
            continue;
        if (const QString problem = Rules::Problem(f.field, text); !problem.isEmpty()) {
            prompter.Message(this, problem, Prompter::Buttons::ok, Prompter::Icon::exclamation);
            f.edit->setFocus();
            f.edit->selectAll();
            return;
        }
    }
    for (const Field& f : fields)
        *f.text = f.edit->text();
    distanceIndex = distanceList.currentIndex();
    done(QDialog::Accepted);
}

}  // namespace tovik
