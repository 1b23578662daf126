// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/reportingbuffer.h"

#include "interop/readprogress.h"

namespace tovik {

bool ReportingBuffer::atEnd() const { return !ReadProgress::GoOn() || QBuffer::atEnd(); }

qint64 ReportingBuffer::readData(char* data, qint64 maxSize)
{
    return ReadProgress::Report(pos(), size()) ? QBuffer::readData(data, maxSize) : 0;
}

}  // namespace tovik
