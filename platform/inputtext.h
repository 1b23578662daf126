// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tovik {

// What typed and pasted text goes through before it reaches a field: control characters
// never arrive, and in the numeric fields the full-width digits and separators that a
// Japanese input method types by default arrive as their ASCII forms.
class InputText {
public:
    // Without C0 and C1 control characters, DEL and the line and paragraph separators.
    static QString WithoutControls(const QString& text);
    static bool HasControls(const QString& text);
    // Full-width digits, full stop, comma, space, apostrophe and hyphen (and the ideographic
    // full stop and comma) as ASCII; everything else as it is.
    static QString NumericAscii(const QString& text);
    // The message for a text holding a character the device cannot store, naming the first
    // one and, where there is one, a form it can store; empty when every character fits.
    static QString UnstorableMessage(const QString& text);
};

}  // namespace tovik
