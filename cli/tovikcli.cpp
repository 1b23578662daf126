// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tovikcli.h"

#include <QMap>
#include <array>
#include <chrono>
#include <vector>

#include "cli/clitext.h"
#include "cli/duplicatesverb.h"
#include "cli/exportverb.h"
#include "cli/importverb.h"
#include "cli/sortverb.h"
#include "core/messagetexts.h"
#include "core/pointbook.h"
#include "platform/cp932.h"
#include "platform/inputtext.h"
#include "platform/pointfieldrules.h"
#include "platform/rowrecord.h"

namespace tovik {

namespace {

constexpr const char* kHelp = R"(tovik-cli - the command-line companion of Tovik, the RQ-42/RQ-40 point memory editor

Usage:
  tovik-cli show [--json] FILE
      The points of FILE, one line each: name, longitude, latitude, mark, reading,
      telephone, distance, category. With --json, an array of objects with the keys
      name, reading, longitude, longitudeFraction, latitude, latitudeFraction, mark,
      distance, category, telephone, longitudeText, latitudeText, markText,
      distanceText and categoryText.
  tovik-cli check FILE
      Prints OK when FILE is a .mem file that the editor would open.
  tovik-cli new [--force] FILE
      Writes a point memory without points. An existing FILE is kept unless --force.
  tovik-cli rewrite [--force] IN OUT
      Opens IN and saves it to OUT as the editor's save-as does. OUT's name must end
      in .mem (in any case), the only files Tovik opens, unless --force.
  tovik-cli add FILE [--name T] [--reading T] [--longitude T] [--latitude T]
                     [--telephone T] [--mark T]
      Appends one point built from the texts as the editor's add command builds it
      (the mark defaults to 0) and saves FILE.
  tovik-cli export IN.mem OUT [--format gpx|kml|kmz|csv|geojson]
                   [--device-datum tokyo|wgs84] [--encoding utf-8|cp932]
      Writes the points of IN to OUT, a GPX, KML, KMZ, CSV or GeoJSON file (the
      format from OUT's extension unless given; OUT - writes to standard output and
      needs --format). Coordinates are converted from the device datum (tokyo unless
      given) to WGS 84; a point outside the Tokyo datum's area of use (20.37-45.54 N,
      122.83-154.05 E), such as the empty 0/0, is written as stored, with a warning.
      CSV is UTF-8 with a byte-order mark, or CP932 with --encoding cp932.
  tovik-cli import OUT.mem IN [IN ...] [--format F] [--device-datum tokyo|wgs84]
                   [--append] [--mark N] [--force]
      Builds OUT.mem from the points of the INs in their order (GPX, KML, KMZ, CSV,
      GeoJSON or .mem files; the format from each IN's extension unless given).
      Coordinates are converted from WGS 84 to the device datum and rounded to 1/250 s
      (outside the Tokyo datum's area of use taken as they are, with a warning);
      texts are fitted to the device, points outside east longitudes and north
      latitudes are left out, each with a warning on standard error. A point whose
      symbol names none of the device's marks gets mark N (0 unless given). With
      --append the points follow OUT's own; otherwise OUT must not exist unless
      --force. OUT's name must end in .mem (in any case), the only files Tovik
      opens, unless --force. More than 100 points in all are refused and OUT is left
      as it was.
  tovik-cli sort FILE --by reading|name|mark|distance [--from N]
                 [--device-datum tokyo|wgs84]
      Puts the points of FILE in order and saves it: by reading in Japanese
      dictionary order, by name, by mark and then reading, or by distance from
      point N (numbered from 1 as show prints them), nearest first. Full- and
      half-width kana, hiragana and katakana sort alike; voiced letters after plain
      ones, and numbers by their value. Points without a reading go after the
      others, by name; points that sort alike keep their order. Distances are
      measured on WGS 84, converted from the device datum (tokyo unless given).
  tovik-cli duplicates FILE [--within METRES] [--json]
                       [--device-datum tokyo|wgs84]
      Groups of points of FILE that are one place twice: within METRES (50 unless
      given) of a point of the group, or with the same name once kana width,
      hiragana and katakana, full-width letters and digits, case and blanks are set
      aside. One group a line: its point numbers, the largest distance within it
      in metres, its names. With --json, an array of objects with the keys points
      (the numbers, ascending) and metres. Groups are in the order of their first
      point; none is no fault.
  tovik-cli --help | --version

Options:
  --  ends the options: every argument after it is a file name, even one that
      begins with "--"

Files:
  Names are used as the bytes given, UTF-8 or not. show writes control characters
  as \n, \r, \t or \xNN. add, rewrite and sort lock FILE from their read to their
  save and wait up to 10 seconds for another program that holds it. Only regular
  files are read or written; FIFOs, devices and folders are refused at once.

Exit codes:
  0  done
  1  FILE was refused or could not be read or written; nothing was changed
  2  the command line was not understood
)";

// The options of add, one for each field of the edit dialog, in the order it checks them.
constexpr std::array<const char*, PointFieldRules::kFieldCount> kAddOptions = {
    "name", "reading", "longitude", "mark", "latitude", "telephone",
};

// How long a file that another program is saving is waited for.
constexpr std::chrono::seconds kLockWait{10};

QString JsonString(const QString& text)
{
    QString s = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            s += u'\\', s += c;
        else if (c == u'\n')
            s += QStringLiteral("\\n");
        else if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            s += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            s += c;
    }
    return s + u'"';
}

// Options of the form --key VALUE or --key=VALUE, in any place among the positionals
// up to a "--", after which every argument is a positional.
TovikCli::Arguments ParseArguments(const QStringList& arguments, const QStringList& valueOptions,
                               const QStringList& flagOptions)
{
    TovikCli::Arguments parsed;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!optionsEnded && a == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || !a.startsWith(QStringLiteral("--"))) {
            parsed.positionals << a;
            continue;
        }
        QString key = a.mid(2);
        QString value;
        const qsizetype eq = key.indexOf(u'=');
        if (eq >= 0) {
            value = key.mid(eq + 1);
            key = key.left(eq);
        }
        if (flagOptions.contains(key) && eq < 0) {
            parsed.flags << key;
        } else if (valueOptions.contains(key)) {
            if (eq < 0) {
                if (i + 1 >= arguments.size()) {
                    parsed.problem = QStringLiteral("--%1 needs a value").arg(key);
                    return parsed;
                }
                value = arguments[++i];
            }
            parsed.values[key] = value;
        } else {
            parsed.problem = QStringLiteral("unknown option %1").arg(CliText::Printable(a));
            return parsed;
        }
    }
    return parsed;
}

}  // namespace

TovikCli::TovikCli(QTextStream& out, QTextStream& err) : out(out), err(err) {}

int TovikCli::Run(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return Usage(QStringLiteral("no command given"));
    const QString verb = arguments.first();
    const QStringList rest = arguments.mid(1);
    if (verb == QStringLiteral("--help") || verb == QStringLiteral("-h") || verb == QStringLiteral("help")) {
        out << kHelp;
        return kSuccess;
    }
    if (verb == QStringLiteral("--version")) {
        out << "tovik-cli " << TOVIK_VERSION << "\n";
        return kSuccess;
    }
    if (verb == QStringLiteral("show"))
        return Show(rest);
    if (verb == QStringLiteral("check"))
        return Check(rest);
    if (verb == QStringLiteral("new"))
        return New(rest);
    if (verb == QStringLiteral("rewrite"))
        return Rewrite(rest);
    if (verb == QStringLiteral("add"))
        return Add(rest);
    if (verb == QStringLiteral("export"))
        return ExportVerb::Run(*this, rest);
    if (verb == QStringLiteral("import"))
        return ImportVerb::Run(*this, rest);
    if (verb == QStringLiteral("sort"))
        return SortVerb::Run(*this, rest);
    if (verb == QStringLiteral("duplicates"))
        return DuplicatesVerb::Run(*this, rest);
    return Usage(QStringLiteral("unknown command %1").arg(CliText::Printable(verb)));
}

int TovikCli::Usage(const QString& problem)
{
    err << "tovik-cli: " << problem << "\n" << "Try 'tovik-cli --help'.\n";
    err.flush();
    return kUsage;
}

void TovikCli::Fail(const QString& path, const QString& message)
{
    err << "tovik-cli: " << CliText::Printable(path) << ": " << message << "\n";
    err.flush();
}

bool TovikCli::OpensAgain(const QString& path, bool force)
{
    if (force || PointBook::HasMemExtension(CliText::ToPath(path)))
        return true;
    Fail(path, QStringLiteral("does not end in .mem, so Tovik would not open it again; "
                              "add .mem to the name, or use --force to write it all the same"));
    return false;
}

void TovikCli::PrepareBook(PointBook& book)
{
    book.Files().SetLockWait(kLockWait);
}

bool TovikCli::SaveBook(PointBook& book, const QString& path)
{
    PrepareBook(book);
    const Result<void> saved = book.Save(CliText::ToPath(path));
    if (!saved)
        Fail(path, QString::fromStdString(saved.Error()));
    return static_cast<bool>(saved);
}

std::optional<TovikCli::Arguments> TovikCli::Parse(const QStringList& arguments, const QStringList& valueOptions,
                                                   const QStringList& flagOptions, qsizetype positionals,
                                                   const char* need)
{
    Arguments a = ParseArguments(arguments, valueOptions, flagOptions);
    const bool countOk = positionals >= 0 ? a.positionals.size() == positionals : a.positionals.size() >= -positionals;
    if (a.problem.isEmpty() && !countOk)
        a.problem = QString::fromLatin1(need);
    if (!a.problem.isEmpty()) {
        Usage(a.problem);
        return std::nullopt;
    }
    return a;
}

bool TovikCli::LoadDecoded(PointBook& book, const QString& path, Lock lock)
{
    PrepareBook(book);
    const std::string bytes = CliText::ToPath(path);
    const Result<Loaded> loaded = lock == Lock::untilSaved ? book.LoadForUpdate(bytes) : book.Load(bytes);
    if (loaded == Loaded::decoded)
        return true;
    if (!loaded)
        Fail(path, QString::fromStdString(loaded.Error()));
    else
        Fail(path, QStringLiteral("not decoded: only .mem files are read as point memories"));
    return false;
}

int TovikCli::Show(const QStringList& arguments)
{
    const auto a = Parse(arguments, {}, {QStringLiteral("json")}, 1, "show needs one FILE");
    if (!a)
        return kUsage;
    PointBook book;
    if (!LoadDecoded(book, a->positionals[0]))
        return kRefused;

    if (a->flags.contains(QStringLiteral("json"))) {
        out << "[";
        for (int i = 0; i < book.GetCount(); ++i) {
            const PointEntry& e = book.Entry(i);
            const RowRecord row = RowRecord::FromBook(book, i);
            out << (i == 0 ? "\n" : ",\n") << "  {"
                << "\"name\": " << JsonString(row[RowRecord::name])
                << ", \"reading\": " << JsonString(row[RowRecord::reading])
                << ", \"longitude\": " << e.longitude
                << ", \"longitudeFraction\": " << int(e.longitudeFraction)
                << ", \"latitude\": " << e.latitude
                << ", \"latitudeFraction\": " << int(e.latitudeFraction)
                << ", \"mark\": " << int(e.mark)
                << ", \"distance\": " << int(e.distance)
                << ", \"category\": " << int(e.category)
                << ", \"telephone\": " << JsonString(row[RowRecord::telephone])
                << ", \"longitudeText\": " << JsonString(row[RowRecord::longitude])
                << ", \"latitudeText\": " << JsonString(row[RowRecord::latitude])
                << ", \"markText\": " << JsonString(row[RowRecord::mark])
                << ", \"distanceText\": " << JsonString(row[RowRecord::distance])
                << ", \"categoryText\": " << JsonString(row[RowRecord::category]) << "}";
        }
        out << (book.GetCount() > 0 ? "\n]\n" : "]\n");
        out.flush();
        return kSuccess;
    }

    // Columns padded to the widest text; CP932 byte counts are terminal columns.
    std::vector<RowRecord> rows;
    std::array<int, 8> widths{};
    for (int i = 0; i < book.GetCount(); ++i) {
        rows.push_back(RowRecord::FromBook(book, i));
        for (QString& text : rows.back().texts)
            text = CliText::Printable(text);
        for (std::size_t c = 0; c < widths.size(); ++c)
            widths[c] = std::max(widths[c], Cp932::ByteLength(rows.back().texts[c]));
    }
    for (const RowRecord& row : rows) {
        QString line;
        for (std::size_t c = 0; c < row.texts.size(); ++c) {
            line += row.texts[c];
            if (c + 1 < row.texts.size())
                line += QString(widths[c] - Cp932::ByteLength(row.texts[c]) + 2, u' ');
        }
        while (line.endsWith(u' '))
            line.chop(1);
        out << line << "\n";
    }
    out.flush();
    return kSuccess;
}

int TovikCli::Check(const QStringList& arguments)
{
    const auto a = Parse(arguments, {}, {}, 1, "check needs one FILE");
    if (!a)
        return kUsage;
    PointBook book;
    if (!LoadDecoded(book, a->positionals[0]))
        return kRefused;
    out << "OK\n";
    out.flush();
    return kSuccess;
}

int TovikCli::New(const QStringList& arguments)
{
    const auto a = Parse(arguments, {}, {QStringLiteral("force")}, 1, "new needs one FILE");
    if (!a)
        return kUsage;
    const QString path = a->positionals[0];
    // A dangling symbolic link exists too: the save would create the file it names.
    if (FileAccess::Exists(CliText::ToPath(path)) && !a->flags.contains(QStringLiteral("force"))) {
        Fail(path, QStringLiteral("already exists; use --force to replace it"));
        return kRefused;
    }
    PointBook book;
    return SaveBook(book, path) ? kSuccess : kRefused;
}

int TovikCli::Rewrite(const QStringList& arguments)
{
    const auto a = Parse(arguments, {}, {QStringLiteral("force")}, 2, "rewrite needs IN and OUT");
    if (!a)
        return kUsage;
    if (!OpensAgain(a->positionals[1], a->flags.contains(QStringLiteral("force"))))
        return kRefused;
    // Held from the read to the rename, so that rewriting a file onto itself cannot
    // undo another program's save in between.
    PointBook book;
    if (!LoadDecoded(book, a->positionals[0], Lock::untilSaved))
        return kRefused;
    if (pauseBeforeSave)
        pauseBeforeSave();
    return SaveBook(book, a->positionals[1]) ? kSuccess : kRefused;
}

int TovikCli::Add(const QStringList& arguments)
{
    QStringList options;
    for (const char* option : kAddOptions)
        options << QString::fromLatin1(option);
    const auto a = Parse(arguments, options, {}, 1, "add needs one FILE");
    if (!a)
        return kUsage;
    const QString path = a->positionals[0];

    // The texts as the edit dialog would take them: full-width digits in the numeric fields
    // read as ASCII, and only what the device stores as it is meant.
    QMap<QString, std::string> texts;
    for (int f = 0; f < PointFieldRules::kFieldCount; ++f) {
        const auto field = static_cast<PointFieldRules::Field>(f);
        const QString key = QString::fromLatin1(kAddOptions[static_cast<std::size_t>(f)]);
        QString text = a->values.value(key, field == PointFieldRules::mark ? QStringLiteral("0") : QString());
        if (PointFieldRules::IsNumeric(field))
            text = InputText::NumericAscii(text);
        QString problem = PointFieldRules::Problem(field, text);
        if (InputText::HasControls(text))
            problem = QString::fromUtf8(messages::kControlCharacter);
        if (!problem.isEmpty()) {
            Fail(path, QStringLiteral("--%1: ").arg(key) + problem);
            return kRefused;
        }
        texts[key] = *Cp932::Encode(text);
    }

    // Held from the read to the rename: a second add waits for this one and adds its
    // point to this one's file instead of to the file both read.
    PointBook book;
    if (!LoadDecoded(book, path, Lock::untilSaved))
        return kRefused;
    if (book.GetCount() >= PointBook::kCapacity) {
        Fail(path, QString::fromUtf8(messages::kTooManyPoints));
        return kRefused;
    }
    book.InsertEntry(book.GetCount(),
                     PointEntry::FromTexts(texts["name"], texts["reading"], texts["longitude"],
                                           texts["latitude"], texts["telephone"], texts["mark"]));
    if (pauseBeforeSave)
        pauseBeforeSave();
    return SaveBook(book, path) ? kSuccess : kRefused;
}

std::optional<PointPlaces> TovikCli::PlacesOf(const std::vector<PointEntry>& entries, DeviceDatum datum,
                                               const QString& path)
{
    const DatumConverter converter(datum);
    if (!converter.Error().empty()) {
        Fail(path, QString::fromStdString(converter.Error()));
        return std::nullopt;
    }
    PointPlaces places = PointPlaces::Of(entries, converter);
    if (const std::vector<int> unplaced = places.Unplaced(); !unplaced.empty()) {
        const std::string& name = entries[static_cast<std::size_t>(unplaced.front())].name;
        Fail(path, QStringLiteral("「%1」の座標を WGS 84 に変換できません。").arg(CliText::Printable(Cp932::Decode(name))));
        return std::nullopt;
    }
    return places;
}

std::optional<DeviceDatum> TovikCli::DatumOption(const Arguments& a, QString& problem)
{
    const QString name = a.values.value(QStringLiteral("device-datum"), QStringLiteral("tokyo"));
    const auto datum = DatumConverter::FromName(name.toStdString());
    if (!datum)
        problem = QStringLiteral("--device-datum must be tokyo or wgs84, not %1").arg(name);
    return datum;
}

}  // namespace tovik
