#include "ProfileForm.h"

#include "APIPath.h"
#include "AccountLog.h"
#include "BoundedPicture.h"
#include "Busy.h"
#include "L.h"
#include "Outcome.h"
#include "PhotoImport.h"
#include "Strings.h"

ProfileForm::ProfileForm(QObject *parent)
    : AccountForm(parent)
{
}

void ProfileForm::followAppState()
{
    if (m_appState)
        m_appState->watchForm(this, QStringLiteral("profile"), [this] { return keptContent(); });
}

std::any ProfileForm::keptContent() const
{
    const bool edited = m_profile.wechatName != m_loadedProfile.wechatName
                        || m_profile.contactEmail != m_loadedProfile.contactEmail
                        || m_profile.callsign != m_loadedProfile.callsign
                        || m_discord != m_loadedProfile.discordUsername.value_or(QString()) || m_avatarFile;
    if (!m_loaded || m_saved || !edited)
        return {};
    return Kept{m_profile, m_discord, m_avatarFile, m_preview};
}

void ProfileForm::setWechatName(const QString &text)
{
    if (m_profile.wechatName == text)
        return;
    m_profile.wechatName = text;
    Q_EMIT fieldsChanged();
}

void ProfileForm::setDiscord(const QString &text)
{
    if (m_discord == text)
        return;
    m_discord = text;
    Q_EMIT fieldsChanged();
}

void ProfileForm::setContactEmail(const QString &text)
{
    if (m_profile.contactEmail == text)
        return;
    m_profile.contactEmail = text;
    Q_EMIT fieldsChanged();
}

void ProfileForm::setCallsign(const QString &text)
{
    if (m_profile.callsign == text)
        return;
    m_profile.callsign = text;
    Q_EMIT fieldsChanged();
}

QStringList ProfileForm::photoFilters() const { return PhotoImport::nameFilters(); }

void ProfileForm::setError(std::optional<QString> error, Retry retry, bool quiet)
{
    if (error && !quiet)
        ++m_failures;
    m_error = std::move(error);
    m_retry = m_error ? retry : Retry::None;
    Q_EMIT errorChanged();
}

void ProfileForm::showFailure(const QString &message) { setError(message, Retry::None); }

void ProfileForm::setPending(std::optional<Upload> upload, QImage preview)
{
    m_avatarFile = std::move(upload);
    m_preview = std::move(preview);
    Q_EMIT avatarChanged();
}

void ProfileForm::retry()
{
    if (m_retry == Retry::Save)
        save();
    else if (m_retry == Retry::Load)
        load(true);
}

QCoro::Task<> ProfileForm::load(bool asked)
{
    if (!m_appState)
        co_return;
    m_loadRun.restart();
    const Lifetime::Guard run = m_loadRun.guard();
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> outcome = co_await attempt(m_appState->refreshProfile());
    if (!lifetime.alive() || !run.alive() || outcome.cancelled())
        co_return;
    if (outcome.failed()) {
        setError(outcome.message(), Retry::Load, !asked);
        co_return;
    }
    m_profile = m_appState && m_appState->profile() ? *m_appState->profile() : Profile{};
    m_loadedProfile = m_profile;
    m_discord = m_profile.discordUsername.value_or(QString());
    // What the member typed before their session ended comes back over the service's copy.
    if (const std::optional<std::any> kept =
            m_appState ? m_appState->takeKeptForm(QStringLiteral("profile")) : std::nullopt) {
        if (const Kept *content = std::any_cast<Kept>(&*kept)) {
            m_profile.wechatName = content->profile.wechatName;
            m_profile.contactEmail = content->profile.contactEmail;
            m_profile.callsign = content->profile.callsign;
            m_discord = content->discord;
            setPending(content->avatarFile, content->preview);
        }
    }
    m_loaded = true;
    Q_EMIT fieldsChanged();
    setError(std::nullopt, Retry::None);
}

std::optional<QString> ProfileForm::missingRequirement() const
{
    if (!m_required)
        return std::nullopt;
    if (Text::trimmedHorizontally(m_profile.wechatName).isEmpty() || m_profile.contactEmail.isEmpty()
        || (!m_profile.hasAvatar && !m_avatarFile))
        return L(QStringLiteral("请先补全头像、微信名和联系邮箱。"));
    return std::nullopt;
}

QJsonObject ProfileForm::profileBody() const
{
    return {{"wechatName", m_profile.wechatName},
            {"discordUsername", Text::trimmedHorizontally(m_discord)},
            {"contactEmail", m_profile.contactEmail},
            {"callsign", m_profile.callsign}};
}

QCoro::Task<> ProfileForm::save()
{
    if (m_busy || !m_appState)
        co_return;
    if (const std::optional<QString> missing = missingRequirement()) {
        setError(missing, Retry::None);
        co_return;
    }
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy(m_busy, lifetime, [this] { Q_EMIT busyChanged(); });
    setError(std::nullopt, Retry::None);
    // A load still under way would fill the form over what is being saved.
    m_loadRun.restart();

    const QPointer<AppState> state = m_appState;
    // Whatever each answer says, one that reads is the service's receipt.
    const auto sendProfile = [](QPointer<AppState> state, QJsonObject body) -> QCoro::Task<> {
        co_await APIClient::post<Acknowledgement>(state ? state->api() : nullptr, APIPath::profile(), body);
    };
    const auto sendAvatar = [](QPointer<AppState> state, Upload upload) -> QCoro::Task<> {
        const QList<Upload> files{upload};
        const QString field = QStringLiteral("avatar");
        co_await APIClient::postForm<Acknowledgement>(
            state ? state->api() : nullptr, APIPath::profileAvatar(), QMap<QString, QString>(), files, field);
    };
    const auto refresh = [](QPointer<AppState> state) -> QCoro::Task<> {
        if (!state)
            throw CancellationError();
        co_await state->refreshProfile();
    };

    Outcome<> outcome = co_await attempt(sendProfile(state, profileBody()));
    if (outcome.ok() && m_avatarFile && lifetime.alive()) {
        outcome = co_await attempt(sendAvatar(state, *m_avatarFile));
        if (outcome.ok() && lifetime.alive()) {
            m_avatarFile.reset();
            Q_EMIT avatarChanged();
        }
    }
    if (outcome.ok())
        outcome = co_await attempt(refresh(state));
    if (!lifetime.alive() || outcome.cancelled())
        co_return;
    if (outcome.failed()) {
        qCInfo(lcAccount, "profile save failed");
        setError(outcome.message(), Retry::Save);
        co_return;
    }
    if (state && state->profile())
        m_profile.hasAvatar = state->profile()->hasAvatar;
    co_await finishSave(state);
}

QCoro::Task<> ProfileForm::importPhotos(QList<QUrl> files)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy(m_busy, lifetime, [this] { Q_EMIT busyChanged(); });
    const Outcome<QList<Upload>> converted =
        co_await attempt(PhotoImport::load(files.mid(0, 1), PhotoImport::avatarLimit));
    if (!lifetime.alive() || converted.cancelled())
        co_return;
    if (converted.failed()) {
        setError(converted.message(), Retry::None);
        co_return;
    }
    if (converted.value().isEmpty()) {
        setPending(std::nullopt, QImage());
    } else {
        const Upload &upload = converted.value().constFirst();
        setPending(upload, BoundedPicture::decode(upload.data));
    }
    setError(std::nullopt, Retry::None);
}

QCoro::Task<> ProfileForm::useIFCAvatar()
{
    if (m_busy || !m_appState || !m_appState->user())
        co_return;
    const QString username = m_appState->user()->username;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const BusyGuard busy(m_busy, lifetime, [this] { Q_EMIT busyChanged(); });
    const Outcome<ForumAvatar::Picture> picture =
        co_await attempt(ForumAvatar::fetch(m_forum.value_or(ServiceHosts::forumEndpoint()), username));
    if (!lifetime.alive())
        co_return;
    if (!picture.ok()) {
        setError(ForumAvatar::failureMessage(), Retry::None);
        co_return;
    }
    setPending(picture.value().upload, picture.value().preview);
    setError(std::nullopt, Retry::None);
}
