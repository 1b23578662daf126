// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's start as a user waits for it: from the program being run to its window
// painted once, after which the probe ends. bench/start.sh runs it many times and takes
// medians; run alone it does nothing visible.
//   tovik_start_probe FILE.mem     the editor on a file, as `tovik FILE.mem` starts
//   tovik_start_probe --plain      a bare Qt dialog, the floor no editor can go below
#include <QDialog>
#include <QEvent>
#include <QTimer>

#include "app/tovikapp.h"

namespace {

// Ends the window's modal loop once it has been painted.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen) {
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow()) {
                seen = true;
                QTimer::singleShot(0, dialog, [dialog] { dialog->done(QDialog::Rejected); });
            }
        }
        return false;
    }

private:
    bool seen = false;
};

}  // namespace

int main(int argc, char** argv)
{
    tovik::TovikApp app(argc, argv);
    FirstPaint probe;
    app.installEventFilter(&probe);
    if (app.arguments().contains(QStringLiteral("--plain"))) {
        QDialog plain;
        plain.resize(400, 300);
        return plain.exec() == QDialog::Rejected ? 0 : 1;
    }
    return app.InitInstance();
}
