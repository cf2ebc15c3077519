#pragma once

#include "LinkOpener.h"
#include "ReleaseManifest.h"
#include "UpdateCheck.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QString>

// What the update prompt shows over the window: the offer of a newer release and the answer to a check
// from the menu. It starts the automatic checks, at launch and each time the application becomes active.
class UpdatePromptModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(UpdateCheck *updater READ updater WRITE setUpdater NOTIFY updaterChanged REQUIRED)
    Q_PROPERTY(Qt::ApplicationState phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(bool offering READ offering NOTIFY offeringChanged)
    Q_PROPERTY(QString releaseMessage READ releaseMessage NOTIFY offeringChanged)
    Q_PROPERTY(bool noticing READ noticing NOTIFY noticeChanged)
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)
    // The release's address when no browser could open it, for the member to copy; empty otherwise.
    Q_PROPERTY(QString unopenedAddress READ unopenedAddress NOTIFY unopenedAddressChanged)
    Q_PROPERTY(QString unopenedMessage READ unopenedMessage NOTIFY unopenedAddressChanged)

public:
    // The phase follows the application's state from now on.
    explicit UpdatePromptModel(QObject *parent = nullptr);

    UpdateCheck *updater() const { return m_updater; }
    void setUpdater(UpdateCheck *updater);
    Qt::ApplicationState phase() const { return m_phase; }
    // A change to active starts an automatic check; the state the model was made in does not.
    void setPhase(Qt::ApplicationState phase);

    bool offering() const;
    QString releaseMessage() const;
    bool noticing() const;
    QString notice() const;

    // The prompt came on screen: the launch check.
    Q_INVOKABLE void appear();
    // Opens the offered release's download address in the browser, if it is one of ours, and dismisses the
    // offer. Where no browser opens it, the address is offered to copy instead.
    Q_INVOKABLE void download();
    Q_INVOKABLE void dismissRelease();
    Q_INVOKABLE void dismissNotice();
    QString unopenedAddress() const { return m_unopenedAddress; }
    QString unopenedMessage() const;
    // Puts the unopened address on the clipboard.
    Q_INVOKABLE void copyAddress() const;
    Q_INVOKABLE void dismissUnopened();

    // The offer's text for a release, with our version and how to install it.
    static QString message(const ReleaseManifest &release, const QString &currentVersion);

Q_SIGNALS:
    void updaterChanged();
    void phaseChanged();
    void offeringChanged();
    void noticeChanged();
    void unopenedAddressChanged();

private:
    QPointer<UpdateCheck> m_updater;
    Qt::ApplicationState m_phase;
    LinkOpener m_opener;
    QString m_unopenedAddress;
};
