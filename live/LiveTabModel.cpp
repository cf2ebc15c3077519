#include "LiveTabModel.h"

#include "APIPath.h"
#include "BoundedPicture.h"
#include "Busy.h"
#include "Choices.h"
#include "Display.h"
#include "L.h"
#include "LiveLog.h"
#include "LiveValues.h"
#include "Outcome.h"
#include "Retarget.h"
#include "ServiceHosts.h"

#include <QJsonObject>

namespace {

// A failure the page does not show: the log alone tells of it.
template <typename T>
void logUnshown(const char *what, const Outcome<T> &outcome)
{
    if (outcome.failed())
        qCInfo(lcLive, "%s failed (%d)", what, outcome.status());
}

QCoro::Task<QByteArray> picture(QPointer<APIClient> client, QString path)
{
    if (!client)
        throw CancellationError();
    co_return co_await client->image(std::move(path));
}

} // namespace

LiveTabModel::LiveTabModel(QObject *parent)
    : QObject(parent)
    , m_clock([] { return QDateTime::currentDateTimeUtc(); })
{
    m_staleCheck.setInterval(staleCheckInterval);
    connect(&m_staleCheck, &QTimer::timeout, this, [this] { staleTick(now()); });
    for (const auto changed :
         {&LiveTabModel::linkChanged, &LiveTabModel::busyChanged, &LiveTabModel::boardChanged})
        connect(this, changed, this, &LiveTabModel::layoutChanged);
    // The second tab's label counts the applications, or names the reviewer's list.
    connect(this, &LiveTabModel::linkChanged, this, &LiveTabModel::tabsChanged);
    connect(this, &LiveTabModel::applicationsChanged, this, &LiveTabModel::tabsChanged);
}

void LiveTabModel::setAppState(AppState *app)
{
    if (!retarget(m_app, app, this))
        return;
    // The role decides who reviews.
    if (app)
        connect(app, &AppState::stateChanged, this, &LiveTabModel::linkChanged);
    Q_EMIT appStateChanged();
    Q_EMIT linkChanged();
}

void LiveTabModel::setClock(Clock clock) { m_clock = std::move(clock); }

QPointer<APIClient> LiveTabModel::client() const { return m_app ? m_app->api() : nullptr; }

bool LiveTabModel::canReview() const
{
    if (!m_app || !m_app->signedIn() || !m_board || m_board->canReview != true)
        return false;
    const QString role = m_app->role();
    return role == QLatin1String("admin") || role == QLatin1String("developer");
}

QList<LiveFleetItem> LiveTabModel::fleet() const { return liveFleet(m_board, m_extras); }

std::optional<LiveFleetItem> LiveTabModel::fleetItem(const QString &id) const
{
    for (const LiveFleetItem &item : fleet()) {
        if (item.id() == id)
            return item;
    }
    return std::nullopt;
}

std::optional<LiveApplication> LiveTabModel::application(const QString &id) const
{
    for (const LiveApplication &application : m_applications) {
        if (application.id == id)
            return application;
    }
    return std::nullopt;
}

QString LiveTabModel::summary() const
{
    if (!m_board)
        return L(TEXT_KEY("查看 VORNA Live 机队、申请排班。"));
    qsizetype airborne = 0;
    qsizetype ground = 0;
    const QList<LiveFleetItem> items = fleet();
    for (const LiveFleetItem &item : items) {
        const LiveFleetItem::Activity activity = item.activity();
        airborne += activity == LiveFleetItem::Activity::Airborne;
        ground += activity == LiveFleetItem::Activity::Ground;
    }
    QStringList parts{L(TEXT_KEY("%@ 架飞行中"), airborne), L(TEXT_KEY("%@ 架在地面"), ground),
                      L(TEXT_KEY("共 %@ 架"), items.size())};
    if (m_fetchedAt.isValid()) {
        const QLocale locale = Display::locale();
        parts.append(
            L(TEXT_KEY("更新于 %@"), locale.toString(m_fetchedAt.toLocalTime().time(),
                                                     Display::timeFormat(locale, QLocale::ShortFormat))));
    }
    return parts.join(QStringLiteral(" \u00B7 "));
}

QString LiveTabModel::emptyApplicationsText() const
{
    return canReview() ? L(TEXT_KEY("当前没有可审核的排班申请。"))
                       : L(TEXT_KEY("在机队里选一架飞机即可申请排班。"));
}

QVariantList LiveTabModel::tabs() const
{
    // The count is of the applications listed so far: it grows with each "加载更多".
    const QString second = canReview()                ? L(TEXT_KEY("排班审核"))
                           : m_applications.isEmpty() ? L(TEXT_KEY("我的申请"))
                                                      : L(TEXT_KEY("我的申请 %@"), m_applications.size());
    QVariantList options = choices<Board>({{Fleet, L(TEXT_KEY("机队"))}, {Applications, second}});
    // Only the applications segment carries an identifier.
    QVariantMap applications = options.at(1).toMap();
    applications.insert(QStringLiteral("name"), QStringLiteral("live.applications"));
    options[1] = applications;
    return options;
}

void LiveTabModel::setTab(Board tab)
{
    if (m_tab == tab)
        return;
    m_tab = tab;
    Q_EMIT tabChanged();
}

void LiveTabModel::setSearch(const QString &search)
{
    if (m_search == search)
        return;
    m_search = search;
    updateSections();
    Q_EMIT searchChanged();
}

void LiveTabModel::setConfirmDisconnect(bool shown)
{
    if (m_confirmDisconnect == shown)
        return;
    m_confirmDisconnect = shown;
    Q_EMIT confirmDisconnectChanged();
}

void LiveTabModel::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    Q_EMIT busyChanged();
}

void LiveTabModel::setMessage(std::optional<QString> message)
{
    if (m_message == message)
        return;
    m_message = std::move(message);
    Q_EMIT messageChanged();
}

void LiveTabModel::fail(const QString &message)
{
    ++m_failures;
    m_message = message;
    Q_EMIT messageChanged();
}

void LiveTabModel::setAuthorized(bool authorized)
{
    if (m_authorized == authorized)
        return;
    m_authorized = authorized;
    Q_EMIT linkChanged();
}

void LiveTabModel::setBoard(std::optional<LiveBoard> board)
{
    m_board = std::move(board);
    updateSections();
    Q_EMIT boardChanged();
    // The board's permission decides who reviews.
    Q_EMIT linkChanged();
}

void LiveTabModel::setApplications(QList<LiveApplication> applications, int page, bool hasMore)
{
    m_applications = std::move(applications);
    m_page = page;
    m_hasMore = hasMore;
    QList<LiveApplicationCardValue> cards;
    cards.reserve(m_applications.size());
    for (const LiveApplication &application : m_applications)
        cards.append(LiveApplicationCardValue::of(application));
    m_applicationCards.setRecords(cards);
    Q_EMIT applicationsChanged();
}

void LiveTabModel::setAvatar(QImage avatar)
{
    if (m_avatar.isNull() && avatar.isNull())
        return;
    m_avatar = std::move(avatar);
    Q_EMIT avatarChanged();
}

void LiveTabModel::setAuthorization(std::optional<Authorization> authorization)
{
    m_authorization = std::move(authorization);
    Q_EMIT authorizationChanged();
}

void LiveTabModel::updateSections()
{
    m_sections.setRecords(m_board ? LiveBoardRules::sections(*m_board, fleet(), m_search, now())
                                  : QList<LiveFleetSection>());
}

template <typename T>
void LiveTabModel::failLoad(const Outcome<T> &outcome)
{
    if (outcome.cancelled())
        return;
    qCInfo(lcLive, "the Live page failed to load (%d)", outcome.status());
    if (outcome.status() == 401 || outcome.status() == 403) {
        setBoard(std::nullopt);
        setApplications({}, m_page, m_hasMore);
        setAuthorized(false);
    }
    setMessage(outcome.message());
}

QCoro::Task<> LiveTabModel::load()
{
    if (m_busy)
        co_return;
    // A new run: whatever an earlier one brings back from now on is dropped.
    m_operation.restart();
    const Lifetime::Guard run = m_operation.guard();
    const BusyGuard busy(run, [this](bool busy) { setBusy(busy); });
    setMessage(std::nullopt);

    const auto link =
        co_await attempt(APIClient::get<LiveAuthorization>(client(), APIPath::liveAuthorization()));
    if (!run.alive())
        co_return;
    if (!link.ok()) {
        failLoad(link);
        co_return;
    }
    const QString state = link.value().state;
    setAuthorized(state == QLatin1String("eligible"));
    if (!m_authorized) {
        setBoard(std::nullopt);
        setApplications({}, m_page, m_hasMore);
        // The account is still linked, sharing nothing: its picture stays, as the live data does.
        setMessage(state == QLatin1String("ineligible")
                       ? std::optional(L(TEXT_KEY("请在授权时共享至少一个 VORNA Live 组织。")))
                       : std::nullopt);
        co_return;
    }

    const auto board = co_await attempt(APIClient::get<LiveBoard>(client(), APIPath::liveBoard()));
    if (!run.alive())
        co_return;
    if (!board.ok()) {
        failLoad(board);
        co_return;
    }
    m_fetchedAt = now();
    setBoard(board.value());

    const auto first =
        co_await attempt(APIClient::get<LiveApplications>(client(), APIPath::liveApplications(1)));
    if (!run.alive())
        co_return;
    if (!first.ok()) {
        failLoad(first);
        co_return;
    }
    setApplications(first.value().applications, 1, first.value().hasMore);

    // Positions, routes and the avatar only add to the board: their failures go unmentioned.
    const auto positions =
        co_await attempt(APIClient::get<LiveFleetPositions>(client(), APIPath::livePositions()));
    if (!run.alive())
        co_return;
    if (positions.ok()) {
        m_extras.take(positions.value());
        setBoard(m_board);
    }
    logUnshown("the fleet's positions", positions);
    const auto routes = co_await attempt(APIClient::get<LiveRoutes>(client(), APIPath::liveRoutes()));
    if (!run.alive())
        co_return;
    if (routes.ok()) {
        m_extras.take(routes.value());
        setBoard(m_board);
    }
    logUnshown("the fleet's routes", routes);
    if (m_avatar.isNull()) {
        const auto bytes = co_await attempt(picture(client(), APIPath::liveAvatar()));
        if (!run.alive())
            co_return;
        if (bytes.ok())
            setAvatar(BoundedPicture::decode(bytes.value()));
        logUnshown("the Infinite Flight avatar", bytes);
    }
}

std::function<QCoro::Task<>()> LiveTabModel::reloader()
{
    return [page = QPointer(this)]() -> QCoro::Task<> {
        if (page)
            co_await page->load();
    };
}

std::optional<QUrl> LiveTabModel::authorizationAddress(const QString &text)
{
    // The scheme and the host as the service wrote them: QUrl would lower-case "HTTPS" and
    // "API.INFINITEFLIGHT.COM". The host ends the address or is followed by its port, path, query or part.
    const QString written = QStringLiteral("https://") + ServiceHosts::liveVendorEndpoint().origin.host();
    if (!text.startsWith(written))
        return std::nullopt;
    if (text.size() > written.size() && !QStringView(u":/?#").contains(text.at(written.size())))
        return std::nullopt;
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || !ServiceHosts::isLiveVendorPage(url))
        return std::nullopt;
    return url;
}

QVariant LiveTabModel::fleetItemValue(const QString &id) const
{
    const std::optional<LiveFleetItem> item = fleetItem(id);
    return item ? QVariant::fromValue(LiveFleetItemValue{*item}) : QVariant();
}

QVariant LiveTabModel::applicationValue(const QString &id) const
{
    const std::optional<LiveApplication> item = application(id);
    return item ? QVariant::fromValue(LiveApplicationValue{*item}) : QVariant();
}

QCoro::Task<> LiveTabModel::connectAccount()
{
    if (m_busy)
        co_return;
    m_operation.restart();
    const Lifetime::Guard run = m_operation.guard();
    const BusyGuard busy(run, [this](bool busy) { setBusy(busy); });

    const auto start = co_await attempt(
        APIClient::post<LiveAuthorizationStart>(client(), APIPath::liveAuthorizationStart(), QJsonObject()));
    if (!run.alive() || start.cancelled())
        co_return;
    if (!start.ok()) {
        qCInfo(lcLive, "linking Infinite Flight could not start (%d)", start.status());
        fail(start.message());
        co_return;
    }
    const auto url = authorizationAddress(start.value().url);
    if (!url) {
        qCInfo(lcLive, "the authorisation address is not an https page of the vendor's host: not opened");
        fail(L(TEXT_KEY("无效的授权地址。")));
        co_return;
    }
    setAuthorization(Authorization{QUuid::createUuid(), *url});
}

void LiveTabModel::authorizationSucceeded()
{
    setAuthorization(std::nullopt);
    // The new link may be another Infinite Flight account: its picture is fetched again.
    setAvatar({});
    load();
}

void LiveTabModel::authorizationFailed(const QString &message)
{
    setAuthorization(std::nullopt);
    fail(message);
}

void LiveTabModel::cancelAuthorization() { setAuthorization(std::nullopt); }

QCoro::Task<> LiveTabModel::disconnect()
{
    // Confirmed by the member: it does not wait for a running load, whose results it makes void.
    m_operation.restart();
    const Lifetime::Guard run = m_operation.guard();
    const BusyGuard busy(run, [this](bool busy) { setBusy(busy); });

    const auto answer = co_await attempt(
        APIClient::post<Acknowledgement>(client(), APIPath::liveAuthorizationDisconnect(), QJsonObject()));
    if (!run.alive() || answer.cancelled())
        co_return;
    if (!answer.ok()) {
        qCInfo(lcLive, "unlinking Infinite Flight failed (%d)", answer.status());
        fail(answer.message());
        co_return;
    }
    // The service may say in so many words that the link stands.
    if (answer.value().ok == false) {
        qCInfo(lcLive, "the service kept the Infinite Flight link");
        fail(L(TEXT_KEY("未能断开 Infinite Flight，请稍后重试。")));
        co_return;
    }
    setAuthorized(false);
    setBoard(std::nullopt);
    setApplications({}, m_page, m_hasMore);
    setAvatar({});
}

QCoro::Task<> LiveTabModel::more()
{
    // Without a further page there is nothing to ask for.
    if (m_busy || !m_hasMore)
        co_return;
    m_operation.restart();
    const Lifetime::Guard run = m_operation.guard();
    const BusyGuard busy(run, [this](bool busy) { setBusy(busy); });

    const int next = m_page + 1;
    const auto answer =
        co_await attempt(APIClient::get<LiveApplications>(client(), APIPath::liveApplications(next)));
    if (!run.alive() || answer.cancelled())
        co_return;
    if (!answer.ok()) {
        qCInfo(lcLive, "page %d of the applications failed (%d)", next, answer.status());
        fail(answer.message());
        co_return;
    }
    setApplications(appendPage(m_applications, answer.value().applications), next, answer.value().hasMore);
}

QList<LiveApplication> LiveTabModel::appendPage(QList<LiveApplication> listed,
                                                const QList<LiveApplication> &page)
{
    // Only what was listed before the page counts as seen: a page that names an id twice adds it twice.
    QSet<QString> seen;
    for (const LiveApplication &application : listed)
        seen.insert(application.id);
    for (const LiveApplication &application : page) {
        if (!seen.contains(application.id))
            listed.append(application);
    }
    return listed;
}

void LiveTabModel::staleTick(const QDateTime &now)
{
    if (!m_board || !m_fetchedAt.isValid() || m_fetchedAt.secsTo(now) < staleAfter.count())
        return;
    m_extras = {};
    setBoard(std::nullopt);
    setMessage(L(TEXT_KEY("资料已过期，请刷新。")));
}

void LiveTabModel::setTabShown(bool shown)
{
    if (shown == tabShown())
        return;
    if (shown)
        m_staleCheck.start();
    else
        m_staleCheck.stop();
    Q_EMIT tabShownChanged();
}
