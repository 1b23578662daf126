// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "app/importpointsmodel.h"
#include "app/importreading.h"
#include "core/datumconverter.h"

class QWidget;

namespace tovik {

class PointDocument;
class Prompter;
struct PointEntry;

// Points in and out of other formats: the export of the edited points, the file shown in
// the file-import view, 地図で見る, and the device datum they are converted with. This is
// the one owner of the device datum and its setting: whatever shows or converts a position
// asks it, and hears when it changes.
class ExchangeActions : public QObject {
    Q_OBJECT
public:
    ExchangeActions(PointDocument& document, Prompter& prompter, QWidget& window);

    // Reading the file-import view's file, which a large file takes a while for.
    ImportReading& Reading() { return reading; }

    DeviceDatum Datum() const { return datum; }
    // Keeps the choice for the next start; the file-import view's points are fitted again.
    void SetDatum(DeviceDatum datum);

    ImportPointsModel& ImportModel() { return importModel; }
    const ImportPointsModel& ImportModel() const { return importModel; }

    // エクスポート...: the edited points into a file of the format its name says.
    void Export();
    // 取りこみファイルを開く...'s dialog; empty when cancelled.
    QString ChooseImportFile();
    // Shows a file's points in the file-import view; a file that cannot be read, or is of no
    // format the view takes, leaves the view as it was. Warnings go into one message box.
    void LoadImportFile(const QString& path);
    // 地図で見る: the point on the web map, at its WGS 84 position.
    void ShowOnMap(const PointEntry& point);

signals:
    void DatumChanged(DeviceDatum datum);

private:
    // Fits the file-import view's file again for the present datum.
    void RefitImport();
    // One box for an error and the warnings, the first of them and how many more.
    void Tell(const QString& error, const WarningList& warnings);

    PointDocument& document;
    Prompter& prompter;
    QWidget& window;
    DeviceDatum datum = DeviceDatum::tokyo;
    ImportPointsModel importModel;
    ImportReading reading;
    // What fitting the file-import view's file last said, so that fitting it again for
    // another datum speaks only when that says something else.
    QStringList importWarnings;
};

}  // namespace tovik
