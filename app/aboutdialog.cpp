// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/aboutdialog.h"

#include <QLabel>
#include <QPushButton>

#include "platform/dialogunits.h"

namespace tovik {

AboutDialog::AboutDialog(const QIcon& icon, QWidget* parent) : QDialog(parent)
{
    const DialogUnits du = DialogUnits::SetUpDialog(*this, QStringLiteral("Tovikのﾊﾞｰｼﾞｮﾝ情報"), 9, 235, 55);

    auto* picture = new QLabel(this);
    const QRect iconRect = du.Rect(11, 17, 20, 20);
    picture->setGeometry(iconRect);
    picture->setPixmap(icon.pixmap(32, 32));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* version = new QLabel(QStringLiteral("Tovik2 Version 2.001"), this);
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(du.Rect(40, 10, 119, 8));
    auto* line = new QLabel(QStringLiteral("RQ-42/RQ-40 地点メモリー編集"), this);
    line->setGeometry(du.Rect(40, 25, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(du.Rect(178, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace tovik
