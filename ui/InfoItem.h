#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QString>

// One title and value tile of an InfoGrid: InfoGrid { items: [InfoItem { title: …; value: … }] }.
class InfoItem : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString title MEMBER m_title NOTIFY titleChanged)
    Q_PROPERTY(QString value MEMBER m_value NOTIFY valueChanged)

public:
    using QObject::QObject;

Q_SIGNALS:
    void titleChanged();
    void valueChanged();

private:
    QString m_title;
    QString m_value;
};
