#pragma once

#include "AccountForm.h"

#include <QQmlEngine>

#include <optional>

// The password form: the temporary password of the first login, or a known one, replaced by
// the member's own. In the required mode a success asks the account gate again; the window follows it.
class PasswordForm : public AccountForm
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString current READ current WRITE setCurrent NOTIFY fieldsChanged)
    Q_PROPERTY(QString next READ next WRITE setNext NOTIFY fieldsChanged)
    Q_PROPERTY(QString confirmation READ confirmation WRITE setConfirmation NOTIFY fieldsChanged)
    Q_PROPERTY(bool canSave READ canSave NOTIFY canSaveChanged)

public:
    explicit PasswordForm(QObject *parent = nullptr);

    QString current() const { return m_current; }
    void setCurrent(const QString &text);
    QString next() const { return m_next; }
    void setNext(const QString &text);
    QString confirmation() const { return m_confirmation; }
    void setConfirmation(const QString &text);
    // Not busy, and no field empty (a field of spaces is not empty).
    bool canSave() const;

    // The local rules in their order; none when the new password passes them all.
    static std::optional<QString> ruleFailure(const QString &current, const QString &next,
                                              const QString &confirmation);

    Q_INVOKABLE void startSave() { save(); }
    QCoro::Task<> save();

Q_SIGNALS:
    // The three fields; whether the form may be sent, after a field or the busy flag.
    void fieldsChanged();
    void canSaveChanged();

private:
    void setText(QString &field, const QString &text);
    void tellFields();

    QString m_current;
    QString m_next;
    QString m_confirmation;
};
