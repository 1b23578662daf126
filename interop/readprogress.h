// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <atomic>

namespace tovik {

// How far the reading of a file has come, and whether the user has given it up. The
// thread that reads installs it (Scope) for the time of the reading, and so does every
// thread it starts for a part of the work; the readers report where they are in the
// bytes they read and stop when the reading is given up. Without one installed, reports
// cost a look at a thread-local pointer and never stop anything.
class ReadProgress {
public:
    class Scope {
    public:
        explicit Scope(ReadProgress* progress);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ReadProgress* previous;
    };

    // Parts per thousand of the whole reading; never goes back.
    int Permille() const { return permille.load(); }
    void Cancel() { cancelled.store(true); }
    bool Cancelled() const { return cancelled.load(); }
    // Later reports fill the parts per thousand `from` to `to` of the whole.
    void SetStage(int from, int to);

    // The reading of the calling thread, or none.
    static ReadProgress* Current();
    // `done` of `total` of the present stage are read; false when the reading is to stop.
    static bool Report(qint64 done, qint64 total);
    // False when the reading is to stop.
    static bool GoOn();
    // What a reading given up gives instead of points.
    static QString Given();

private:
    std::atomic<int> permille{0};
    std::atomic<bool> cancelled{false};
    std::atomic<int> stageFrom{0};
    std::atomic<int> stageTo{1000};
};

}  // namespace tovik
