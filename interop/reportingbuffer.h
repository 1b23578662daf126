// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBuffer>

namespace tovik {

// A file's bytes as a device that says how far its reader has come (ReadProgress) and
// gives no more once the reading is given up, which ends the reader's work at once.
class ReportingBuffer : public QBuffer {
    Q_OBJECT
public:
    using QBuffer::QBuffer;

    // At its end too once the reading is given up, so that the XML reader, which takes a
    // device that gives nothing for one still filling, stops.
    bool atEnd() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
};

}  // namespace tovik
