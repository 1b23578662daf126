// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace tovik {

// One point as the exchange formats carry it: a name, a WGS 84 position, a symbol, and
// the device's own fields as texts under their keys (the DeviceField names). Readers
// and writers only move these texts; ExchangeConverter gives them their meaning.
struct ExchangePoint {
    QString name;
    double latitude = 0;   // WGS 84, decimal degrees
    double longitude = 0;
    // The coordinates as the file writes them, for messages.
    QString latitudeText;
    QString longitudeText;
    // A <sym>, style or column that may name one of the device's marks ("mark03").
    QString symbol;
    // What the writers show people: the reading and a summary of the fields.
    QString comment;
    QString description;
    QList<QPair<QString, QString>> device;

    QString Device(const QString& key) const;
    bool HasDevice(const QString& key) const;
    void SetDevice(const QString& key, const QString& value);
};

}  // namespace tovik
