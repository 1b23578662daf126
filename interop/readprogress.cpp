// SPDX-License-Identifier: GPL-3.0-or-later
#include "interop/readprogress.h"

#include <algorithm>

namespace tovik {

namespace {
thread_local ReadProgress* current = nullptr;
}  // namespace

ReadProgress::Scope::Scope(ReadProgress* progress) : previous(current) { current = progress; }

ReadProgress::Scope::~Scope() { current = previous; }

ReadProgress* ReadProgress::Current() { return current; }

void ReadProgress::SetStage(int from, int to)
{
    stageFrom.store(from);
    stageTo.store(to);
}

bool ReadProgress::Report(qint64 done, qint64 total)
{
    ReadProgress* p = current;
    if (!p)
        return true;
    if (total > 0) {
        const int from = p->stageFrom.load();
        const int value = from + static_cast<int>((p->stageTo.load() - from) * std::clamp(done, qint64{0}, total) / total);
        int seen = p->permille.load();
        while (value > seen && !p->permille.compare_exchange_weak(seen, value)) {
        }
    }
    return !p->cancelled.load();
}

QString ReadProgress::Given() { return QStringLiteral("読みこみを取りやめました。"); }

bool ReadProgress::GoOn() { return !current || !current->cancelled.load(); }

}  // namespace tovik
