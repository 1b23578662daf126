// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace tovik {

// What the KMZ module (libtovik-kmz.so: the ZIP layer on QuaZip, with Qt's Core5Compat
// behind it) gives the programs, which open it when a KMZ is read or written: a table of
// functions, its version checked on opening. The texts for the user stay in the programs.
struct KmzModule {
    static constexpr int kVersion = 1;
    static constexpr const char* kFileName = "libtovik-kmz.so";
    static constexpr const char* kEntryPoint = "tovik_kmz_module";

    enum class Problem { none, notZip, noDocument, tooLarge, unreadable, damaged, encrypted };
    struct Document {
        QByteArray bytes;
        QString entry;  // the name of the entry read, or the one the problem is with
        Problem problem = Problem::none;
    };

    int version;
    // doc.kml at the top, or else the first .kml entry, up to `largestEntry` bytes unpacked.
    Document (*readDocument)(const QByteArray& archive, qint64 largestEntry);
    // doc.kml first, then the other files in the order given; empty when it failed.
    QByteArray (*write)(const QByteArray& document, const QList<QPair<QString, QByteArray>>& files);
};

}  // namespace tovik
