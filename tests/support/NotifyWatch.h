#pragma once

// Whether an object told QML of every change: a property whose value changed since the last look and whose
// NOTIFY signal did not fire would leave a binding on it showing the old value. An object that ends each
// change with one signal of its own is looked at each time it sends it, too, so a change told only by a
// signal sent before it in the same operation shows.
#include <QHash>
#include <QMetaProperty>
#include <QObject>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QVariant>

#include <memory>
#include <vector>

namespace TestSupport {

class NotifyWatch
{
public:
    explicit NotifyWatch(QObject *object)
        : m_object(object)
    {
        const QMetaObject *meta = object->metaObject();
        for (int index = QObject::staticMetaObject.propertyCount(); index < meta->propertyCount(); ++index) {
            const QMetaProperty property = meta->property(index);
            if (!property.hasNotifySignal())
                continue;
            m_watched.push_back({property, std::make_unique<QSignalSpy>(object, property.notifySignal()),
                                 property.read(object)});
        }
    }

    template <typename Object, typename Signal>
    NotifyWatch(Object *object, Signal lastSignal)
        : NotifyWatch(static_cast<QObject *>(object))
    {
        m_connection = QObject::connect(object, lastSignal, object, [this] { look(); });
    }

    ~NotifyWatch() { QObject::disconnect(m_connection); }

    // Runs one step of the object's life; a change in it that went untold fails the test, naming the step.
    template <typename Run>
    void step(const char *what, Run &&run)
    {
        run();
        const QStringList silent = silentChanges();
        QVERIFY2(silent.isEmpty(), qPrintable(QString::fromLatin1(what) + ": " + silent.join(", ")));
    }

private:
    // The properties that changed without telling since the watch began or was last asked.
    QStringList silentChanges()
    {
        look();
        QStringList silent;
        for (Watched &watched : m_watched) {
            if (watched.untold)
                silent.append(QString::fromLatin1(watched.property.name()));
            watched.untold = false;
        }
        return silent;
    }

    // A change stays untold until its signal comes, at this look or a later one.
    void look()
    {
        for (Watched &watched : m_watched) {
            const QVariant now = watched.property.read(m_object);
            if (!watched.spy->isEmpty())
                watched.untold = false;
            else if (now != watched.value)
                watched.untold = true;
            watched.value = now;
            watched.spy->clear();
        }
    }

    struct Watched
    {
        QMetaProperty property;
        std::unique_ptr<QSignalSpy> spy;
        QVariant value;
        bool untold = false;
    };
    QObject *m_object;
    std::vector<Watched> m_watched;
    QMetaObject::Connection m_connection;
};

} // namespace TestSupport
