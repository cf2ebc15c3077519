#pragma once

#include "AppState.h"
#include "Lifetime.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QTimer>

// Which one screen the window shows, from the account state; and the brand intro that covers the window
// once, until it has played (or four seconds at the latest).
class WindowRootModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(Screen screen READ screen NOTIFY screenChanged)
    Q_PROPERTY(bool showingIntro READ showingIntro NOTIFY showingIntroChanged)
    Q_PROPERTY(bool introFades READ introFades NOTIFY showingIntroChanged)
    // How many times the waiting screen has come with a failure of the account check (after signing in), or
    // "重试" or "重新登录" on it has failed: each failure is presented anew, also with the message of the
    // time before.
    Q_PROPERTY(int failures READ failures NOTIFY failuresChanged)

public:
    enum class Screen {
        Checking,    // waiting: "正在确认登录状态"
        SignIn,      // nobody signed in
        Password,    // the required password change
        Profile,     // the required profile set-up
        MemberTabs,  // the member tabs of the current revision
        GateWaiting, // signed in, the gate has not answered: message, retry, "重新登录"
    };
    Q_ENUM(Screen)

    explicit WindowRootModel(QObject *parent = nullptr);

    AppState *appState() const { return m_appState; }
    void setAppState(AppState *state);

    Screen screen() const;
    static Screen screenFor(bool checking, bool signedIn, AppState::Gate gate);
    // Whether the sign-in form's first field takes the keyboard as the form comes on in place of `before`:
    // after a screen the member was using (a sign-out, "重新登录"), whose controls went with it; not at the
    // start, nor when the form opens with the account message (an expired session), an alert that takes it.
    Q_INVOKABLE bool signInTakesKeyboard(WindowRootModel::Screen before) const;

    bool showingIntro() const { return m_showingIntro; }
    // An intro that played fades out; one cut off by the limit goes at once.
    bool introFades() const { return m_introFades; }
    // The intro says it has played; the view fades it out.
    Q_INVOKABLE void introFinished();
    // The latest the intro may stay, whether or not it reported its end.
    static constexpr int introLimitMs = 4000;

    // "重新登录" on the waiting screen; a failure shows as the account message.
    Q_INVOKABLE void signInAgain();
    Q_INVOKABLE void retryGate();
    int failures() const { return m_failures; }

Q_SIGNALS:
    void appStateChanged();
    void screenChanged();
    void showingIntroChanged();
    void failuresChanged();

private:
    // Runs one of the waiting screen's actions; a failure it ends in, there, counts.
    QCoro::Task<> counted(QCoro::Task<> action);
    // The account state changed: a failure the waiting screen comes to of itself counts.
    void followState();

    QPointer<AppState> m_appState;
    bool m_showingIntro = true;
    bool m_introFades = true;
    QTimer m_introLimit;
    int m_failures = 0;
    // The waiting screen shows a failure; one of its actions runs.
    bool m_gateFailing = false;
    bool m_acting = false;
    Lifetime m_lifetime;
};
