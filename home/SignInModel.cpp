#include "SignInModel.h"

#include "Busy.h"
#include "HomeLog.h"
#include "Outcome.h"
#include "Retarget.h"
#include "Strings.h"

SignInModel::SignInModel(QObject *parent)
    : QObject(parent)
{
}

void SignInModel::setAppState(AppState *state)
{
    if (!retarget(m_appState, state, this))
        return;
    if (state)
        connect(state, &AppState::stateChanged, this, &SignInModel::changed);
    Q_EMIT appStateChanged();
    Q_EMIT changed();
}

void SignInModel::setUsername(const QString &username)
{
    if (m_username == username)
        return;
    m_username = username;
    Q_EMIT changed();
}

void SignInModel::setPassword(const QString &password)
{
    if (m_password == password)
        return;
    m_password = password;
    Q_EMIT changed();
}

void SignInModel::setRemember(bool remember)
{
    if (m_remember == remember)
        return;
    m_remember = remember;
    Q_EMIT changed();
}

bool SignInModel::ready() const
{
    return !m_busy && !Text::trimmedHorizontally(m_username).isEmpty() && !m_password.isEmpty();
}

QString SignInModel::notice() const
{
    if (m_error)
        return *m_error;
    return m_appState ? m_appState->message() : QString();
}

bool SignInModel::offersSavedAccounts() const { return m_appState && m_appState->savedAccountCount() > 0; }

void SignInModel::signIn() { submit(); }

QCoro::Task<> SignInModel::submit()
{
    if (!ready() || !m_appState)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    m_error.reset();
    {
        const BusyGuard busy(m_busy, lifetime, [this] { Q_EMIT changed(); });
        const Outcome<> signedIn =
            co_await attempt(m_appState->signIn(m_username.trimmed(), m_password, m_remember));
        // The form may be gone by now: the window root replaces it once someone is signed in.
        if (!lifetime.alive())
            co_return;
        m_error = signedIn.failureMessage();
        m_password.clear();
        if (signedIn.failed()) {
            qCInfo(lcHome, "sign-in failed");
            ++m_failures;
        }
    }
}
