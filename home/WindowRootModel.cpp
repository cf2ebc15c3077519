#include "WindowRootModel.h"

#include "Retarget.h"

WindowRootModel::WindowRootModel(QObject *parent)
    : QObject(parent)
{
    // The model's own child, like any of its parts.
    m_introLimit.setParent(this);
    m_introLimit.setSingleShot(true);
    m_introLimit.setInterval(introLimitMs);
    connect(&m_introLimit, &QTimer::timeout, this, [this] {
        m_introFades = false;
        introFinished();
    });
    m_introLimit.start();
}

void WindowRootModel::setAppState(AppState *state)
{
    if (!retarget(m_appState, state, this))
        return;
    if (state) {
        connect(state, &AppState::stateChanged, this, &WindowRootModel::screenChanged);
        // After the screen has followed: the waiting screen is there to present the failure.
        connect(state, &AppState::stateChanged, this, &WindowRootModel::followState);
    }
    Q_EMIT appStateChanged();
    Q_EMIT screenChanged();
}

WindowRootModel::Screen WindowRootModel::screenFor(bool checking, bool signedIn, AppState::Gate gate)
{
    if (checking)
        return Screen::Checking;
    if (!signedIn)
        return Screen::SignIn;
    switch (gate) {
    case AppState::Gate::Password:
        return Screen::Password;
    case AppState::Gate::Profile:
        return Screen::Profile;
    case AppState::Gate::Ready:
        return Screen::MemberTabs;
    case AppState::Gate::NoGate:
        break;
    }
    return Screen::GateWaiting;
}

WindowRootModel::Screen WindowRootModel::screen() const
{
    if (!m_appState)
        return Screen::Checking;
    return screenFor(m_appState->checking(), m_appState->signedIn(), m_appState->gateState());
}

bool WindowRootModel::signInTakesKeyboard(Screen before) const
{
    return before != Screen::Checking && m_appState && m_appState->message().isEmpty();
}

void WindowRootModel::introFinished()
{
    m_introLimit.stop();
    if (!m_showingIntro)
        return;
    m_showingIntro = false;
    Q_EMIT showingIntroChanged();
}

void WindowRootModel::signInAgain()
{
    if (m_appState)
        counted(m_appState->signOutOrSay());
}

void WindowRootModel::retryGate()
{
    if (m_appState)
        counted(m_appState->checkGate());
}

void WindowRootModel::followState()
{
    // The check that follows a sign-in failing is what signing in came to: presented as a failure, as each
    // later one of "重试" is (that one counted where it ends).
    const bool failing = m_appState && screen() == Screen::GateWaiting && m_appState->hasMessage();
    if (failing && !m_gateFailing && !m_acting) {
        ++m_failures;
        Q_EMIT failuresChanged();
    }
    m_gateFailing = failing;
}

QCoro::Task<> WindowRootModel::counted(QCoro::Task<> action)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    m_acting = true;
    co_await std::move(action);
    if (lifetime.alive())
        m_acting = false;
    // An expired session goes to the sign-in form, which shows its message itself.
    if (!lifetime.alive() || !m_appState || screen() != Screen::GateWaiting || !m_appState->hasMessage())
        co_return;
    ++m_failures;
    Q_EMIT failuresChanged();
}
