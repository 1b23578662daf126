// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace tovik {

// Fits a text from another program into a device field: characters CP932 cannot hold
// become "？", control characters become spaces, and the bytes are cut at a character
// boundary to the field's size.
class TextFitter {
public:
    struct Fitted {
        std::string bytes;  // CP932
        bool changed = false;
    };

    static Fitted Fit(const QString& text, int maxBytes);
    // The CP932 bytes of the whole text, every character CP932 cannot hold as "？".
    static Fitted Replace(const QString& text);
};

}  // namespace tovik
