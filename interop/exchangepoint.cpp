// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/exchangepoint.h"

namespace tovik {

QString ExchangePoint::Device(const QString& key) const
{
    for (const auto& [k, v] : device) {
        if (k == key)
            return v;
    }
    return {};
}

bool ExchangePoint::HasDevice(const QString& key) const
{
    for (const auto& field : device) {
        if (field.first == key)
            return true;
    }
    return false;
}

void ExchangePoint::SetDevice(const QString& key, const QString& value)
{
    for (auto& field : device) {
        if (field.first == key) {
            field.second = value;
            return;
        }
    }
    device.append({key, value});
}

}  // namespace tovik
