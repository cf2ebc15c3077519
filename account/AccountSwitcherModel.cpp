#include "AccountSwitcherModel.h"

#include "AccountLog.h"
#include "BoundedPicture.h"
#include "L.h"
#include "Outcome.h"
#include "Retarget.h"
#include "ViewRules.h"

#include <QImage>
#include <QVariantMap>

AccountSwitcherModel::AccountSwitcherModel(QObject *parent)
    : QObject(parent)
{
}

void AccountSwitcherModel::setAppState(AppState *state)
{
    if (!retarget(m_appState, state, this))
        return;
    if (state)
        connect(state, &AppState::stateChanged, this, &AccountSwitcherModel::changed);
    Q_EMIT appStateChanged();
    Q_EMIT changed();
}

bool AccountSwitcherModel::isCurrent(const SavedLogin &login) const
{
    return m_appState && m_appState->user() && m_appState->user()->id == login.id();
}

QVariantList AccountSwitcherModel::rows() const
{
    QVariantList rows;
    if (!m_appState)
        return rows;
    for (const SavedLogin &login : m_appState->savedAccounts()) {
        const QImage avatar = login.avatar ? BoundedPicture::decode(*login.avatar) : QImage();
        const bool current = isCurrent(login);
        const QString status = current ? L(QStringLiteral("已登录 🟢")) : L(QStringLiteral("点击登录"));
        rows.append(QVariantMap{{"id", login.id()},
                                {"username", login.user.username},
                                {"current", current},
                                {"status", status},
                                // The row is heard as it reads: whose account, and whether it is signed in.
                                {"heard", ComponentRules::combined({login.user.username, status})},
                                // Two rows may each offer it: the name says whose.
                                {"removeName", L(QStringLiteral("移除保存的账号 %@"), login.user.username)},
                                {"avatar", avatar.isNull() ? QVariant() : QVariant(avatar)}});
    }
    return rows;
}

void AccountSwitcherModel::setUsername(const QString &text)
{
    if (m_username == text)
        return;
    m_username = text;
    Q_EMIT changed();
}

void AccountSwitcherModel::setPassword(const QString &text)
{
    if (m_password == text)
        return;
    m_password = text;
    Q_EMIT changed();
}

void AccountSwitcherModel::setAddingAccount(bool open)
{
    if (m_addingAccount == open)
        return;
    m_addingAccount = open;
    if (!open)
        m_password.clear();
    Q_EMIT changed();
}

void AccountSwitcherModel::reset()
{
    m_username.clear();
    m_password.clear();
    m_addingAccount = false;
    m_error.reset();
    Q_EMIT changed();
    appear();
}

bool AccountSwitcherModel::canSubmit() const
{
    return !busy() && !m_username.trimmed().isEmpty() && !m_password.isEmpty();
}

void AccountSwitcherModel::setError(const QString &text, bool quiet)
{
    if (!quiet)
        ++m_failures;
    m_error = text;
    Q_EMIT changed();
}

std::optional<SavedLogin> AccountSwitcherModel::saved(const QString &id) const
{
    if (!m_appState)
        return std::nullopt;
    for (const SavedLogin &login : m_appState->savedAccounts()) {
        if (login.id() == id)
            return login;
    }
    return std::nullopt;
}

QCoro::Task<> AccountSwitcherModel::rememberCurrent()
{
    if (!m_appState)
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> outcome = co_await attempt(m_appState->rememberCurrentAccount());
    if (lifetime.alive() && outcome.failed())
        setError(outcome.message(), true);
}

QCoro::Task<> AccountSwitcherModel::switchAccount(QString id)
{
    const std::optional<SavedLogin> login = saved(id);
    if (!login || isCurrent(*login) || busy())
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> outcome = co_await attempt(m_appState->switchAccount(*login));
    if (!lifetime.alive() || outcome.cancelled())
        co_return;
    if (outcome.failed()) {
        qCInfo(lcAccount, "switch failed");
        // The prefix stands literally, in every language.
        setError(QStringLiteral("切换失败：") + outcome.message());
        co_return;
    }
    Q_EMIT dismiss();
}

QCoro::Task<> AccountSwitcherModel::removeAccount(QString id)
{
    const std::optional<SavedLogin> login = saved(id);
    if (!login || busy())
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> outcome = co_await attempt(m_appState->removeSavedAccount(*login));
    if (!lifetime.alive())
        co_return;
    if (outcome.failed())
        setError(outcome.message());
    Q_EMIT removeEnded(outcome.ok());
}

QCoro::Task<> AccountSwitcherModel::addAccount()
{
    if (!canSubmit())
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> outcome = co_await attempt(m_appState->addAccount(m_username.trimmed(), m_password));
    if (!lifetime.alive() || outcome.cancelled())
        co_return;
    m_password.clear();
    if (outcome.failed()) {
        qCInfo(lcAccount, "adding an account failed");
        setError(outcome.message());
        co_return;
    }
    Q_EMIT changed();
    Q_EMIT dismiss();
}

QCoro::Task<> AccountSwitcherModel::signOut()
{
    if (!m_appState || busy())
        co_return;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> outcome = co_await attempt(m_appState->signOut());
    if (!lifetime.alive() || outcome.cancelled())
        co_return;
    if (outcome.failed()) {
        setError(outcome.message());
        co_return;
    }
    Q_EMIT dismiss();
}
