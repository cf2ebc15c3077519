#pragma once

#include <QObject>
#include <QQmlEngine>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// The settings' language row: the app follows the desktop's language; on GNOME and KDE
// the row opens the desktop's own language settings, elsewhere it only says so.
class LanguageSettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString currentName READ currentName CONSTANT)
    Q_PROPERTY(bool canOpen READ canOpen CONSTANT)

public:
    explicit LanguageSettings(QObject *parent = nullptr);

    QString currentName() const;
    bool canOpen() const { return !m_command.isEmpty(); }
    Q_INVOKABLE void open() const;

    // The desktop's language settings as a command line, for XDG_CURRENT_DESKTOP and the programs found;
    // empty when none is known.
    static QStringList commandFor(const QString &currentDesktop,
                                  const std::function<bool(const QString &)> &found);

private:
    QStringList m_command;
};

// The application information page: the version of this build, the member service's host and
// the reset of the aircraft picture caches.
class AppInformationModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString version READ version CONSTANT)
    Q_PROPERTY(QString serviceHost READ serviceHost CONSTANT)
    Q_PROPERTY(bool cacheCleared READ cacheCleared NOTIFY cacheClearedChanged)

public:
    explicit AppInformationModel(QObject *parent = nullptr);

    // "1.0.0 (57)": the build's version and build number.
    static QString versionText(const QString &version, const QString &build);
    QString version() const;
    // The host (and port, where not the scheme's own) of the member service the app talks to: the member
    // site, or the service it was started against.
    QString serviceHost() const;
    static QString hostOf(const QUrl &origin);
    bool cacheCleared() const { return m_cacheCleared; }
    Q_INVOKABLE void clearPictureCaches();

Q_SIGNALS:
    void cacheClearedChanged();

private:
    bool m_cacheCleared = false;
};
