#pragma once

#include "AppState.h"

#include <QObject>
#include <QPointer>
#include <QQmlEngine>

#include <optional>

// The password form: the temporary password of the first login, or a known one, replaced by
// the member's own. In the required mode a success asks the account gate again; the portal follows it.
class PasswordForm : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(AppState *appState READ appState WRITE setAppState NOTIFY appStateChanged REQUIRED)
    Q_PROPERTY(bool required READ required WRITE setRequired NOTIFY changed)
    Q_PROPERTY(QString current READ current WRITE setCurrent NOTIFY changed)
    Q_PROPERTY(QString next READ next WRITE setNext NOTIFY changed)
    Q_PROPERTY(QString confirmation READ confirmation WRITE setConfirmation NOTIFY changed)
    Q_PROPERTY(bool busy READ busy NOTIFY changed)
    Q_PROPERTY(QString error READ errorText NOTIFY changed)
    Q_PROPERTY(bool saved READ saved WRITE setSaved NOTIFY changed)
    Q_PROPERTY(bool canSave READ canSave NOTIFY changed)

public:
    explicit PasswordForm(QObject *parent = nullptr);

    AppState *appState() const { return m_appState; }
    void setAppState(AppState *state);
    bool required() const { return m_required; }
    void setRequired(bool required);
    QString current() const { return m_current; }
    void setCurrent(const QString &text);
    QString next() const { return m_next; }
    void setNext(const QString &text);
    QString confirmation() const { return m_confirmation; }
    void setConfirmation(const QString &text);
    bool busy() const { return m_busy; }
    const std::optional<QString> &error() const { return m_error; }
    QString errorText() const { return m_error.value_or(QString()); }
    bool saved() const { return m_saved; }
    void setSaved(bool saved);
    // Not busy, and no field empty (a field of spaces is not empty).
    bool canSave() const;

    // The local rules in their order; none when the new password passes them all.
    static std::optional<QString> ruleFailure(const QString &current, const QString &next,
                                              const QString &confirmation);
    // User-perceived characters (extended grapheme clusters).
    static qsizetype characterCount(const QString &text);

    Q_INVOKABLE void startSave() { save(); }
    Q_INVOKABLE void startSignOut() { signOut(); }
    QCoro::Task<> save();
    QCoro::Task<> signOut();

Q_SIGNALS:
    void appStateChanged();
    void changed();

private:
    void setText(QString &field, const QString &text);

    QPointer<AppState> m_appState;
    bool m_required = false;
    QString m_current;
    QString m_next;
    QString m_confirmation;
    bool m_busy = false;
    std::optional<QString> m_error;
    bool m_saved = false;
    Lifetime m_lifetime;
};
