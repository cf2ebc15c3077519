#include "PasswordForm.h"

#include "APIPath.h"
#include "AccountLog.h"
#include "Busy.h"
#include "L.h"
#include "Outcome.h"
#include "Strings.h"

PasswordForm::PasswordForm(QObject *parent)
    : AccountForm(parent)
{
    connect(this, &AccountForm::busyChanged, this, &PasswordForm::canSaveChanged);
}

void PasswordForm::setText(QString &field, const QString &text)
{
    if (field == text)
        return;
    field = text;
    tellFields();
}

void PasswordForm::tellFields()
{
    Q_EMIT fieldsChanged();
    Q_EMIT canSaveChanged();
}

void PasswordForm::setCurrent(const QString &text) { setText(m_current, text); }
void PasswordForm::setNext(const QString &text) { setText(m_next, text); }
void PasswordForm::setConfirmation(const QString &text) { setText(m_confirmation, text); }

bool PasswordForm::canSave() const
{
    return !m_busy && !m_current.isEmpty() && !m_next.isEmpty() && !m_confirmation.isEmpty();
}

std::optional<QString> PasswordForm::ruleFailure(const QString &current, const QString &next,
                                                 const QString &confirmation)
{
    // Canonical equivalence: the same text in another normal form is the same password.
    const auto same = [](const QString &a, const QString &b) {
        return a.normalized(QString::NormalizationForm_D) == b.normalized(QString::NormalizationForm_D);
    };
    const bool passes = Text::perceivedLength(next) >= 12 && next.toUtf8().size() <= 72
                        && same(next, confirmation) && !same(next, current);
    if (passes)
        return std::nullopt;
    return L(QStringLiteral("请检查密码长度、两次输入是否一致，以及是否与原密码不同。"));
}

QCoro::Task<> PasswordForm::save()
{
    if (!m_appState || m_busy)
        co_return;
    if (const std::optional<QString> failure = ruleFailure(m_current, m_next, m_confirmation)) {
        showFailure(*failure);
        co_return;
    }
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy(m_busy, lifetime, [this] { Q_EMIT busyChanged(); });
    m_error.reset();
    Q_EMIT errorChanged();

    const QPointer<AppState> state = m_appState;
    const QJsonObject passwords{
        {"currentPassword", m_current}, {"newPassword", m_next}, {"confirmPassword", m_confirmation}};
    const Outcome<Acknowledgement> outcome = co_await attempt(
        APIClient::post<Acknowledgement>(state ? state->api() : nullptr, APIPath::password(), passwords));
    if (!lifetime.alive())
        co_return;
    if (outcome.failed()) {
        qCInfo(lcAccount, "password change refused or failed");
        showFailure(outcome.message());
        co_return;
    }
    if (outcome.cancelled())
        co_return;
    m_current.clear();
    m_next.clear();
    m_confirmation.clear();
    tellFields();
    co_await finishSave(state);
}
