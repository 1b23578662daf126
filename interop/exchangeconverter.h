// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

#include "core/datumconverter.h"
#include "interop/exchangepoint.h"
#include "interop/warninglist.h"
#include "core/pointentry.h"

namespace tovik {

// Turns the device's points into exchange points (WGS 84, readable texts, the device's
// fields under their keys) and back, fitting what other programs wrote to the device.
class ExchangeConverter {
public:
    static constexpr int kTextBytes = 16;
    static constexpr int kTelephoneDigits = 10;

    // `defaultMark` is the mark of an imported point that names none of the device's.
    explicit ExchangeConverter(DeviceDatum datum, int defaultMark = 0);

    DeviceDatum Datum() const { return datum.Datum(); }
    int DefaultMark() const { return defaultMark; }
    // Why the datum conversion cannot work (PROJ could not be set up for the grid); empty
    // when it can.
    QString Error() const;

    // Nothing when the position cannot be converted. A point outside the Tokyo datum's area
    // of use keeps its stored position, with a warning naming it.
    std::optional<ExchangePoint> ToExchange(const PointEntry& entry, WarningList* warnings = nullptr) const;
    // The point as the device stores it; nothing, with a warning naming the point, when
    // it cannot be stored. Every change made to fit it is named in a warning as well, a
    // changed name with the name stored.
    // `ordinal` (counted from 1) names a point without a name.
    std::optional<PointEntry> ToEntry(const ExchangePoint& point, int ordinal, WarningList& warnings) const;

    // "mark00" to "mark25": the symbol, style and icon name of a mark.
    static QString SymbolOf(int mark);
    // The mark a symbol, style or icon name stands for: "mark03", "Mark 3", "#mark03",
    // "files/mark03.png"; nothing for any other text.
    static std::optional<int> MarkOfSymbol(const QString& symbol);

    // A device text as the exchange formats show it: control characters, which XML
    // cannot carry, become U+FFFD (the stored bytes then travel beside the text).
    static QString Readable(const std::string& bytes);

private:
    DatumConverter datum;
    int defaultMark;
};

}  // namespace tovik
