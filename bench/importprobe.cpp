// SPDX-License-Identifier: GPL-3.0-or-later
// The file-import view filled from a file as the user fills it, in a whole process of its
// own: the editor's window, ファイル取りこみ画面, then the file read (off the window's
// thread when it is large) until the list holds ROWS points, painted. Prints three numbers:
// the milliseconds from the request to the painted list, the longest the window went
// without handling its events meanwhile (milliseconds), and the process's peak memory
// (KiB, VmHWM).
//
// Run: importprobe FILE ROWS (whole_process.py runs it against gpsbabel reading the same
// file, and on a file of 100 points for the memory it needs at rest).
//      importprobe FILE ROWS MS: presses キャンセル MS milliseconds into the reading and
// prints how many milliseconds later the reading thread had ended.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "app/maindialog.h"
#include "core/pointbook.h"
#include "platform/qtprompter.h"

namespace {

long PeakKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int rows = std::atoi(argv[2]);
    const int cancelAfter = argc == 4 ? std::atoi(argv[3]) : -1;
    qint64 cancelledAt = -1;

    tovik::PointBook book;
    tovik::QtPrompter prompter(QStringLiteral("Tovik"));
    tovik::MainDialog dialog(book, prompter, QString());
    dialog.resize(1000, 600);
    dialog.show();
    dialog.ShowImportView();
    QApplication::processEvents();

    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer beat;
    beat.setInterval(5);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    QTimer look;
    look.setInterval(1);
    QObject::connect(&look, &QTimer::timeout, [&] {
        tovik::ImportReading& reading = dialog.Exchange().Reading();
        if (cancelAfter >= 0 && cancelledAt < 0 && clock.elapsed() >= cancelAfter && reading.Dialog()) {
            cancelledAt = clock.elapsed();
            // As the user does it: the dialog's button.
            if (auto* button = reading.Dialog()->findChild<QPushButton*>())
                button->click();
        }
        if (cancelledAt >= 0) {
            if (reading.Busy())
                return;
            std::printf("%lld\n", static_cast<long long>(clock.elapsed() - cancelledAt));
            app.quit();
            return;
        }
        if (dialog.ImportList().GetItemCount() != rows || reading.Busy())
            return;
        dialog.ImportList().repaint();
        const qint64 elapsed = clock.elapsed();
        std::printf("%lld %lld %ld\n", static_cast<long long>(elapsed),
                    static_cast<long long>(std::max(longest, elapsed - last)), PeakKiB());
        app.quit();
    });
    QTimer::singleShot(0, &dialog, [&] {
        clock.start();
        beat.start();
        look.start();
        dialog.Exchange().LoadImportFile(path);
    });
    return app.exec();
}
