// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>
#include <vector>

#include "core/datumconverter.h"
#include "core/pointplaces.h"

namespace tovik {

class PointBook;

// The command-line companion: shows, checks, creates, rewrites and extends .mem files
// through the same point book as the editor.
class TovikCli {
public:
    enum ExitCode { kSuccess = 0, kRefused = 1, kUsage = 2 };

    struct Arguments {
        QStringList positionals;
        QMap<QString, QString> values;
        QStringList flags;
        QString problem;
    };

    TovikCli(QTextStream& out, QTextStream& err);
    // `arguments` without the program name; file names as CliText::FromArgument gives them.
    int Run(const QStringList& arguments);
    // Called by add and rewrite between reading the file and saving it (a seam for tests
    // of programs that write the same file at the same time).
    void SetPauseBeforeSave(std::function<void()> pause) { pauseBeforeSave = std::move(pause); }

private:
    // The verbs that live in files of their own.
    friend class DuplicatesVerb;
    friend class ExportVerb;
    friend class ImportVerb;
    friend class SortVerb;

    int Show(const QStringList& arguments);
    int Check(const QStringList& arguments);
    int New(const QStringList& arguments);
    int Rewrite(const QStringList& arguments);
    int Add(const QStringList& arguments);

    // The options and exactly `positionals` other arguments (at least -`positionals`
    // when it is negative); otherwise says what is wrong (`need` when the count is) and
    // gives nothing.
    std::optional<Arguments> Parse(const QStringList& arguments, const QStringList& valueOptions,
                                   const QStringList& flagOptions, qsizetype positionals, const char* need);
    // Collects the book's messages and lets it wait for files that others are saving.
    void PrepareBook(PointBook& book);
    enum class Lock { none, untilSaved };
    // Loads `path` into `book` and reports why not when it was not decoded; with
    // Lock::untilSaved the file stays locked until the book is gone.
    bool LoadDecoded(PointBook& book, const QString& path, Lock lock = Lock::none);
    // Saves `book` to `path` and reports why not when it could not.
    bool SaveBook(PointBook& book, const QString& path);
    // The WGS 84 places of every point of `path`, stored in `datum`; otherwise says why
    // not (the datum cannot convert, or a point has no place) and gives nothing.
    std::optional<PointPlaces> PlacesOf(const std::vector<PointEntry>& entries, DeviceDatum datum, const QString& path);
    // The datum of --device-datum, tokyo unless given; otherwise says what is wrong.
    static std::optional<DeviceDatum> DatumOption(const Arguments& a, QString& problem);
    // Whether a point memory saved as `path` can be opened again (its name ends in .mem);
    // reports why not unless `force` lets it be written all the same.
    bool OpensAgain(const QString& path, bool force);
    int Usage(const QString& problem);
    void Fail(const QString& path, const QString& message);

    QTextStream& out;
    QTextStream& err;
    std::function<void()> pauseBeforeSave;
};

}  // namespace tovik
