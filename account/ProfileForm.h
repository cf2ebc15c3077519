#pragma once

#include "AccountForm.h"
#include "ForumAvatar.h"
#include "MultipartBody.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QQmlEngine>
#include <QUrl>

#include <optional>

// The profile form: WeChat name, Discord user name, contact e-mail, callsign and the avatar,
// from a picked picture or the forum. Required mode is the first-login set-up, whose success asks the
// account gate again; edit mode ends with the "资料已保存" alert.
class ProfileForm : public AccountForm
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString wechatName READ wechatName WRITE setWechatName NOTIFY fieldsChanged)
    Q_PROPERTY(QString discord READ discord WRITE setDiscord NOTIFY fieldsChanged)
    Q_PROPERTY(QString contactEmail READ contactEmail WRITE setContactEmail NOTIFY fieldsChanged)
    Q_PROPERTY(QString callsign READ callsign WRITE setCallsign NOTIFY fieldsChanged)
    Q_PROPERTY(bool loaded READ loaded NOTIFY fieldsChanged)
    Q_PROPERTY(bool retryable READ retryable NOTIFY errorChanged)
    Q_PROPERTY(bool hasPendingAvatar READ hasPendingAvatar NOTIFY avatarChanged)
    // A QImage, or nothing: the pending avatar's picture.
    Q_PROPERTY(QVariant preview READ previewValue NOTIFY avatarChanged)
    Q_PROPERTY(QStringList photoFilters READ photoFilters CONSTANT)

public:
    explicit ProfileForm(QObject *parent = nullptr);

    QString wechatName() const { return m_profile.wechatName; }
    void setWechatName(const QString &text);
    QString discord() const { return m_discord; }
    void setDiscord(const QString &text);
    QString contactEmail() const { return m_profile.contactEmail; }
    void setContactEmail(const QString &text);
    QString callsign() const { return m_profile.callsign; }
    void setCallsign(const QString &text);
    bool loaded() const { return m_loaded; }
    // "重试" is offered after a failed load (it loads again) and a failed save (it saves again, keeping
    // the edits); a picture that could not be read is picked again instead.
    bool retryable() const { return m_error && m_retry != Retry::None; }
    bool hasPendingAvatar() const { return m_avatarFile.has_value(); }
    const std::optional<Upload> &pendingAvatar() const { return m_avatarFile; }
    const QImage &preview() const { return m_preview; }
    QVariant previewValue() const { return m_preview.isNull() ? QVariant() : QVariant(m_preview); }
    QStringList photoFilters() const;

    // The forum the avatar comes from; the fixed forum, or VORNA_FORUM_ORIGIN, unless a test sets another.
    void setForumEndpoint(ServiceHosts::MemberEndpoint forum) { m_forum = std::move(forum); }

    Q_INVOKABLE void startLoad() { load(); }
    Q_INVOKABLE void startSave() { save(); }
    Q_INVOKABLE void retry();
    // The picked files (at most one is used); an empty pick clears the pending avatar.
    Q_INVOKABLE void pickPhotos(const QList<QUrl> &files) { importPhotos(files); }
    Q_INVOKABLE void startForumAvatar() { useIFCAvatar(); }

    // `asked`: the member asked for it ("重试"), so its failure is the outcome of what he just did; the
    // form's own load as it opens fails quietly into the notice.
    QCoro::Task<> load(bool asked = false);
    QCoro::Task<> save();
    QCoro::Task<> importPhotos(QList<QUrl> files);
    QCoro::Task<> useIFCAvatar();

    // The checks of the required mode; none when the form may be sent.
    std::optional<QString> missingRequirement() const;
    // The JSON body of the profile's write.
    QJsonObject profileBody() const;

Q_SIGNALS:
    // The four fields, and whether the load has filled them; the pending avatar and its picture.
    void fieldsChanged();
    void avatarChanged();

private:
    // What a session that ends while the form is open keeps of it: the fields and the picked avatar.
    struct Kept
    {
        Profile profile;
        QString discord;
        std::optional<Upload> avatarFile;
        QImage preview;
    };
    std::any keptContent() const;
    // Hands the app state what a session that ends keeps of the form.
    void followAppState() override;
    // A failure offers no retry.
    void showFailure(const QString &message) override;
    enum class Retry { None, Load, Save };
    // A failure (`error` set) counts as one of what the member did, unless `quiet`.
    void setError(std::optional<QString> error, Retry retry, bool quiet = false);
    void setPending(std::optional<Upload> upload, QImage preview);

    Profile m_profile;
    Profile m_loadedProfile; // as the service gave it: an untouched form is not kept
    QString m_discord;
    std::optional<Upload> m_avatarFile;
    QImage m_preview;
    bool m_loaded = false;
    Retry m_retry = Retry::None;
    std::optional<ServiceHosts::MemberEndpoint> m_forum;
    Lifetime m_loadRun;
};
