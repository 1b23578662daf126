// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/importreading.h"

#include <QProgressDialog>

namespace tovik {

namespace {
// How often the dialog shows the reading's progress.
constexpr int kShowEveryMs = 100;
// A reading that is over by then never shows the dialog.
constexpr int kDialogAfterMs = 300;
}  // namespace

ImportReading::ImportReading(QWidget& window) : window(window)
{
    timer.setInterval(kShowEveryMs);
    connect(&timer, &QTimer::timeout, this, [this] {
        if (dialog && progress)
            dialog->setValue(progress->Permille());
    });
}

ImportReading::~ImportReading()
{
    if (progress)
        progress->Cancel();
    if (worker.joinable())
        worker.join();
}

void ImportReading::Run(qint64 bytes, std::function<void()> work, std::function<void()> then)
{
    if (Busy()) {
        GiveUp();
        worker.join();
    }
    if (bytes <= kAtOnce) {
        work();
        then();
        emit Ended();
        return;
    }
    done = std::move(then);
    progress = std::make_unique<ReadProgress>();
    dialog = std::make_unique<QProgressDialog>(QStringLiteral("ファイルを読んでいます…"), QStringLiteral("キャンセル"),
                                               0, 1000, &window);
    dialog->setWindowTitle(QStringLiteral("取りこみファイルを開く"));
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setMinimumDuration(kDialogAfterMs);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setValue(0);
    connect(dialog.get(), &QProgressDialog::canceled, this, [this] { GiveUp(); });
    timer.start();
    worker = std::thread([this, work = std::move(work), reading = progress.get(), ticket = ++readings] {
        const ReadProgress::Scope scope(reading);
        work();
        QMetaObject::invokeMethod(this, [this, ticket] { Finish(ticket); }, Qt::QueuedConnection);
    });
}

void ImportReading::GiveUp()
{
    // The thread stops at the next look at the progress; what it read is dropped.
    if (progress)
        progress->Cancel();
    done = nullptr;
    timer.stop();
    if (dialog) {
        dialog->hide();
        dialog.release()->deleteLater();
    }
}

void ImportReading::Finish(int ticket)
{
    // A reading given up for a newer one ended long ago.
    if (ticket != readings)
        return;
    if (worker.joinable())
        worker.join();
    timer.stop();
    dialog.reset();
    const bool given = !progress || progress->Cancelled();
    progress.reset();
    if (!given && done)
        std::exchange(done, nullptr)();
    emit Ended();
}

}  // namespace tovik
