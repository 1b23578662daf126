// SPDX-License-Identifier: GPL-3.0-or-later
// A Qt generic plugin that ends the program right after its first window has been painted,
// so that "start to shown window" is measured the same way for any Qt program, unchanged:
//   QT_PLUGIN_PATH=<build>/bench/plugins QT_QPA_GENERIC_PLUGINS=firstpaint PROGRAM ...
// The paint events of one update are sent together and the window is flushed to the screen
// after them; a zero timer started by the first one fires once that is done.

#include <QEvent>
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QTimer>
#include <cstdlib>

namespace {

class FirstPaint : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !seen) {
            seen = true;
            // Nothing of the program's own ending belongs to its start.
            QTimer::singleShot(0, [] { std::_Exit(0); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen = false;
};

}  // namespace

class FirstPaintPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "firstpaint.json")
public:
    QObject* create(const QString& key, const QString&) override
    {
        if (key.compare(QLatin1String("firstpaint"), Qt::CaseInsensitive) != 0)
            return nullptr;
        auto* filter = new FirstPaint(qApp);
        qApp->installEventFilter(filter);
        return filter;
    }
};

#include "firstpaint.moc"
