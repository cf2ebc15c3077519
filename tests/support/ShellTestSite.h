#pragma once

// What a test of the whole window stands on: the process-wide objects the app installs before its window
// (the keychain's queues, the own-flight link, the aircraft pictures), and the sample service standing in
// for the member site and the forum of the forum avatar.
#include "AppState.h"
#include "Await.h"
#include "ImageTestSupport.h"
#include "Installed.h"
#include "MemberData.h"
#include "MemberNavigation.h"
#include "SampleService.h"
#include "SessionStore.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <optional>

namespace TestSupport {

class ShellSite
{
public:
    // Once, before the first window.
    bool start()
    {
        m_service = std::make_unique<Sample::Service>();
        if (!m_service->start())
            return false;
        m_pictures.emplace(*m_service);
        return m_scratch.isValid()
               && m_service->standIn(m_scratch.path(), {QStringLiteral("MEMBER"), QStringLiteral("FORUM")});
    }

    // Before each test: no fault, session or request an earlier one left.
    void reset()
    {
        m_service->clearFaults();
        m_service->expireSessions();
        m_service->clearRequests();
    }

    Sample::Service &service() { return *m_service; }
    QString scratchFile(const QString &name) const { return m_scratch.filePath(name); }
    // A picture saved under that name in the scratch folder, as a member picks one; empty when not written.
    QUrl scratchPicture(const QString &name) const
    {
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(Qt::darkBlue);
        return picture.save(scratchFile(name)) ? QUrl::fromLocalFile(scratchFile(name)) : QUrl();
    }
    // A simulator's screenshot as a member picks one: 3840 × 2160, shaded and lined as a scene is, so it
    // neither decodes nor converts in a moment.
    QUrl scratchScreenshot(const QString &name) const
    {
        QImage picture(3840, 2160, QImage::Format_RGB32);
        QPainter painter(&picture);
        QLinearGradient sky(0, 0, 0, picture.height());
        sky.setColorAt(0, QColor(0x2a, 0x5d, 0x9f));
        sky.setColorAt(1, QColor(0xd8, 0xc8, 0xa0));
        painter.fillRect(picture.rect(), sky);
        for (int line = 0; line < picture.height(); line += 3) {
            painter.setPen(QColor::fromHsv((line * 7) % 360, 90, 120 + line % 100));
            painter.drawLine(0, line, picture.width(), (line * 13) % picture.height());
        }
        painter.end();
        return picture.save(scratchFile(name)) ? QUrl::fromLocalFile(scratchFile(name)) : QUrl();
    }

private:
    KeychainQueues m_keychain;
    const Installed<KeychainQueues> m_installedKeychain{m_keychain};
    FlightActivityNavigation m_ownFlight{nullptr};
    const Installed<FlightActivityNavigation> m_installedOwnFlight{m_ownFlight};
    std::unique_ptr<Sample::Service> m_service;
    std::optional<InstalledPictures> m_pictures;
    QTemporaryDir m_scratch;
};

// Closes a test's window and its engine. One more frame first: Qt 6.4's layouts hold a child deleted since
// their last polish until the next, and the window going away lays them out before that (a late answer
// changes a page under another).
inline void closeWindow(std::unique_ptr<QQuickWindow> &window, std::unique_ptr<QQmlEngine> &engine)
{
    if (window && window->isExposed())
        window->grabWindow();
    window.reset();
    engine.reset();
}

// Whether every load of the signed-in member's first screens ended, loaded or failed, in time.
inline bool memberLoadsEnd(const MemberData *data)
{
    const QList<MemberLoad::Kind> loads{MemberLoad::Inbox,       MemberLoad::Pireps, MemberLoad::Events,
                                        MemberLoad::Leaderboard, MemberLoad::Routes, MemberLoad::Latest};
    return data && TestSupport::waitFor([&] {
               return std::all_of(loads.cbegin(), loads.cend(), [&](MemberLoad::Kind load) {
                   const LoadState state = data->state(load);
                   return !state.loading && (state.loaded || state.failure);
               });
           });
}

// Signs in through a window's own account state; false, with the reason in the log, when it fails.
inline bool signInThrough(AppState *app, const QString &username, const QString &password)
{
    try {
        await(app->signIn(username, password, false));
    } catch (const std::exception &error) {
        qWarning("sign-in failed: %s", error.what());
        return false;
    }
    return true;
}

} // namespace TestSupport
