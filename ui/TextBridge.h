#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QVariant>

// Views reach the string tables and the display formatting through these two singletons:
//   text: L.t("%@ 小时 %@ 分", [2, 5])      text: Display.dateTime(report.submittedAt)
class TextLookup : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(L)
    QML_SINGLETON

public:
    using QObject::QObject;

    Q_INVOKABLE QString t(const QString &key, const QVariantList &arguments = {}) const;
    // A menu text with its keyboard letter marked: L.mnemonic(L.t("退出"), "Q").
    Q_INVOKABLE QString mnemonic(const QString &text, const QString &letter) const;
    Q_INVOKABLE QString language() const;
    Q_INVOKABLE QString languageName() const;
};

class DisplayFormat : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Display)
    QML_SINGLETON

public:
    using QObject::QObject;

    // A missing value is undefined or null in QML.
    Q_INVOKABLE QString dateTime(const QVariant &unixTime) const;
    Q_INVOKABLE QString duration(const QVariant &minutes) const;
    Q_INVOKABLE QString missing() const;
    // A key sequence as the desktop writes it ("Ctrl+Q"): a StandardKey value or a sequence's text.
    Q_INVOKABLE QString shortcut(const QVariant &sequence) const;
};
