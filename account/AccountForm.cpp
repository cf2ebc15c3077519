#include "AccountForm.h"

#include "Outcome.h"
#include "Retarget.h"

AccountForm::AccountForm(QObject *parent)
    : QObject(parent)
{
}

void AccountForm::setAppState(AppState *state)
{
    if (!retarget(m_appState, state, this))
        return;
    followAppState();
    Q_EMIT appStateChanged();
}

void AccountForm::setRequired(bool required)
{
    if (m_required == required)
        return;
    m_required = required;
    Q_EMIT requiredChanged();
}

void AccountForm::setSaved(bool saved)
{
    if (m_saved == saved)
        return;
    m_saved = saved;
    Q_EMIT savedChanged();
}

void AccountForm::showFailure(const QString &message)
{
    m_error = message;
    ++m_failures;
    Q_EMIT errorChanged();
}

QCoro::Task<> AccountForm::finishSave(QPointer<AppState> state)
{
    if (m_required) {
        if (state)
            co_await state->checkGate();
    } else {
        m_saved = true;
        Q_EMIT savedChanged();
    }
}

QCoro::Task<> AccountForm::signOut()
{
    if (!m_appState)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> outcome = co_await attempt(m_appState->signOut());
    if (lifetime.alive() && outcome.failed())
        showFailure(outcome.message());
}
