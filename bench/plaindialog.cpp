// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the editor's start: a plain Qt dialog that shows the same 100-row
// Japanese table as the editor's first window (the texts of `tovik-cli show --json`), in a
// QTableWidget with a row of buttons, and nothing else.
//
// Run: plaindialog POINTS.json (whole_process.py measures it beside the editor).

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTableWidget>
#include <QVBoxLayout>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QJsonArray points = QJsonDocument::fromJson(file.readAll()).array();

    const QStringList headings{QStringLiteral("地点名称"), QStringLiteral("経度"),     QStringLiteral("緯度"),
                               QStringLiteral("マーク"),   QStringLiteral("フリガナ"), QStringLiteral("電話番号"),
                               QStringLiteral("距離"),     QStringLiteral("種別")};
    const char* keys[] = {"name", "longitudeText", "latitudeText", "markText", "reading", "telephone",
                          "distanceText", "categoryText"};
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("地点一覧"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* table = new QTableWidget(static_cast<int>(points.size()), static_cast<int>(headings.size()), &dialog);
    table->setHorizontalHeaderLabels(headings);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    for (int row = 0; row < points.size(); ++row) {
        const QJsonObject point = points[row].toObject();
        for (int column = 0; column < headings.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(point.value(QLatin1String(keys[column])).toString()));
    }
    layout->addWidget(table);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(900, 600);
    dialog.show();
    return app.exec();
}
