#pragma once

#include <QObject>
#include <QQmlEngine>

// The update check of the menu command "检查更新…". The release manifest is not read yet: a check
// only counts itself, so the command has something to call until the update prompt exists.
class MacUpdater : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(int checksStarted READ checksStarted NOTIFY checksStartedChanged)

public:
    using QObject::QObject;

    Q_INVOKABLE void check(bool manual)
    {
        Q_UNUSED(manual)
        ++m_checksStarted;
        Q_EMIT checksStartedChanged();
    }
    int checksStarted() const { return m_checksStarted; }

Q_SIGNALS:
    void checksStartedChanged();

private:
    int m_checksStarted = 0;
};
