// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/csvrows.h"

namespace tovik {

CsvRows::CsvRows(QStringView text) : text(text) {}

bool CsvRows::Next(QString& field, bool& endsRow)
{
    field.clear();
    bool quoted = false;
    bool started = inRow;
    while (at < text.size()) {
        const QChar c = text[at++];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (at < text.size() && text[at] == u'"')
                field += text[at++];
            else
                quoted = false;
        } else if (c == u'"') {
            quoted = true;
            started = true;
        } else if (c == u',') {
            inRow = true;
            endsRow = false;
            return true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && at < text.size() && text[at] == u'\n')
                ++at;
            if (started) {
                inRow = false;
                endsRow = true;
                return true;
            }
        } else {
            field += c;
            started = true;
        }
    }
    inRow = false;
    endsRow = true;
    return started;
}

}  // namespace tovik
