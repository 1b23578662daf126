// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pointfieldrules.h"

#include "platform/cp932.h"
#include "core/fieldcheck.h"
#include "platform/inputtext.h"
#include "core/messagetexts.h"
#include "platform/validation.h"
#include "core/markrule.h"

namespace tovik {

int PointFieldRules::Limit(Field field)
{
    switch (field) {
    case mark:
        return 2;
    case telephone:
        return 14;
    default:
        return 16;
    }
}

bool PointFieldRules::IsNumeric(Field field)
{
    return field == longitude || field == latitude || field == telephone || field == mark;
}

QString PointFieldRules::Caption(Field field)
{
    switch (field) {
    case name:
        return QStringLiteral("地点名称");
    case reading:
        return QStringLiteral("フリガナ");
    case longitude:
        return QStringLiteral("東経");
    case latitude:
        return QStringLiteral("北緯");
    case telephone:
        return QStringLiteral("電話番号");
    case mark:
        return QStringLiteral("マーク");
    }
    return {};
}

QString PointFieldRules::Problem(Field field, const QString& text)
{
    // The messages name their field, as the coordinate and telephone messages do, so that
    // a refused character is found in the dialog and on the command line alike.
    if (QString unstorable = InputText::UnstorableMessage(text); !unstorable.isEmpty())
        return QStringLiteral("「%1」の").arg(Caption(field)) + unstorable;
    const std::string bytes = *Cp932::Encode(text);
    if (static_cast<int>(bytes.size()) > Limit(field))
        return QString::fromUtf8(messages::kTooLong).arg(Limit(field));
    switch (field) {
    case longitude:
    case latitude: {
        const bool east = field == longitude;
        const int degrees = east ? FieldCheck::kLongitudeDegrees : FieldCheck::kLatitudeDegrees;
        if (FieldCheck::IsCoordinate(bytes, degrees))
            return {};
        return QString::fromUtf8(messages::kCoordinateForm)
            .arg(Caption(field), east ? QStringLiteral("139.45.30.500") : QStringLiteral("35.39.31.0"))
            .arg(degrees);
    }
    case telephone:
        return FieldCheck::FitsTelephone(bytes) ? QString() : QString::fromUtf8(messages::kTelephoneTooLong);
    case mark:
        return FieldCheck::IsMark(bytes) ? QString()
                                         : QStringLiteral("「%1」は ").arg(Caption(field)) +
                                               Validation::IntegerRange(0, kHighestMark);
    default:
        return {};
    }
}

}  // namespace tovik
