// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <thread>

#include "interop/readprogress.h"

class QProgressDialog;
class QWidget;

namespace tovik {

// Reading for the file-import view off the user-interface thread: a file of more than a
// moment's work is read (and its points fitted) by a thread of its own while a progress
// dialog over the window shows how far it has come and can give it up. The window keeps
// painting all the while. A small file is read at once.
class ImportReading : public QObject {
    Q_OBJECT
public:
    // Files up to this size are read at once, on the calling thread.
    static constexpr qint64 kAtOnce = 1024 * 1024;

    explicit ImportReading(QWidget& window);
    // Gives a reading up and waits for its thread.
    ~ImportReading() override;

    // Runs `work` (which reads `bytes` bytes) and then `done` on this thread; `done` never
    // runs when the user gives the reading up. A reading under way is given up first.
    void Run(qint64 bytes, std::function<void()> work, std::function<void()> done);
    bool Busy() const { return worker.joinable(); }
    // The progress dialog while one is shown (for tests and for screenshots).
    QProgressDialog* Dialog() const { return dialog.get(); }

signals:
    // A reading ended, done or given up.
    void Ended();

private:
    void GiveUp();
    void Finish(int ticket);

    QWidget& window;
    std::unique_ptr<ReadProgress> progress;
    std::unique_ptr<QProgressDialog> dialog;
    QTimer timer;
    std::thread worker;
    std::function<void()> done;
    int readings = 0;
};

}  // namespace tovik
