#include "MemberNotificationsModel.h"

#include "Busy.h"
#include "NoticeText.h"
#include "ReadMarks.h"
#include "ReloadSchedule.h"

#include <QSettings>

MemberNotificationsModel::MemberNotificationsModel(QObject *parent)
    : QObject(parent)
    , m_unread(this)
{
    connect(&m_unread, &NoticeListModel::countChanged, this, &MemberNotificationsModel::canMarkAllChanged);
}

MemberNotificationsModel::~MemberNotificationsModel() = default;

void MemberNotificationsModel::setApp(AppState *app)
{
    if (app == m_app)
        return;
    m_app = app;
    Q_EMIT appChanged();
}

void MemberNotificationsModel::setMemberData(MemberData *data)
{
    if (data == m_data)
        return;
    if (m_data)
        disconnect(m_data, nullptr, this, nullptr);
    m_data = data;
    if (m_data)
        connect(m_data, &MemberData::inboxChanged, this, &MemberNotificationsModel::inboxChanged);
    inboxChanged();
    Q_EMIT memberDataChanged();
}

void MemberNotificationsModel::setSchedule(ReloadSchedule *schedule)
{
    if (m_schedule) {
        m_schedule->stopWait();
        disconnect(m_schedule, nullptr, this, nullptr);
    }
    m_schedule = schedule;
    connect(schedule, &ReloadSchedule::waitEnded, this, &MemberNotificationsModel::waitEnded);
    connect(schedule, &ReloadSchedule::applicationStateChanged, this,
            &MemberNotificationsModel::applicationStateChanged);
}

ReloadSchedule &MemberNotificationsModel::schedule()
{
    if (!m_schedule)
        setSchedule(new ReloadSchedule(this));
    return *m_schedule;
}

QList<SiteNotice> MemberNotificationsModel::unreadNotices() const
{
    QList<SiteNotice> notices;
    if (!m_data || !m_data->inbox())
        return notices;
    for (const SiteNotice &notice : m_data->inbox()->notifications) {
        if (notice.isUnread())
            notices.append(notice);
    }
    return notices;
}

bool MemberNotificationsModel::showsEmpty() const
{
    return m_data && m_data->inbox() && m_unread.count() == 0;
}

void MemberNotificationsModel::inboxChanged()
{
    m_unread.setNotices(unreadNotices());
    // An inbox that loads empty after none had loaded changes no count, yet now shows its empty text.
    const bool empty = showsEmpty();
    if (empty != m_showsEmpty) {
        m_showsEmpty = empty;
        Q_EMIT showsEmptyChanged();
    }
}

std::optional<SiteNotice> MemberNotificationsModel::notice(const QString &noticeId) const
{
    if (!m_data || !m_data->inbox())
        return std::nullopt;
    for (const SiteNotice &notice : m_data->inbox()->notifications) {
        if (notice.id == noticeId)
            return notice;
    }
    return std::nullopt;
}

NoticePage MemberNotificationsModel::pageFor(const SiteNotice &notice) const
{
    NoticePage page;
    page.noticeId = notice.id;
    page.title = NoticeText::title(notice);
    page.detail = NoticeText::detail(notice);
    page.time = NoticeText::day(notice.occurredAt);
    if (!m_data)
        return page;
    // An event notice names an event, never a report: when its event is gone, an unrelated report that
    // happens to carry the same id must not open in its place.
    if (notice.kind == NoticeText::eventPublished) {
        for (const FlightEvent &event : m_data->events()) {
            if (event.id == notice.entityId) {
                page.kind = NoticePageKind::EventPage;
                page.recordId = event.id;
                break;
            }
        }
        return page;
    }
    for (const Pirep &report : m_data->pireps()) {
        if (report.id == notice.entityId) {
            page.kind = NoticePageKind::PirepPage;
            page.recordId = report.id;
            break;
        }
    }
    return page;
}

NoticePage MemberNotificationsModel::open(const QString &noticeId)
{
    const std::optional<SiteNotice> found = notice(noticeId);
    if (!found)
        return {};
    // Sent as read only when the inbox is back on screen, so the list does not change under the page.
    m_opened.insert(noticeId);
    return pageFor(*found);
}

void MemberNotificationsModel::openNoticePage(MemberNavigation *navigation, NavigationStack stack,
                                              const QString &noticeId)
{
    const NoticePage page = open(noticeId);
    if (!navigation || page.noticeId.isEmpty())
        return;
    if (page.kind == NoticePageKind::EventPage && m_data) {
        for (const FlightEvent &event : m_data->events()) {
            if (event.id == page.recordId)
                return navigation->push(stack, EventRoute{event});
        }
    }
    if (page.kind == NoticePageKind::PirepPage && m_data) {
        for (const Pirep &report : m_data->pireps()) {
            if (report.id == page.recordId)
                return navigation->push(stack, PirepRoute{report});
        }
    }
    navigation->push(stack, NoticeRoute{page.title, page.detail, page.time});
}

void MemberNotificationsModel::sendOpened()
{
    if (m_opened.isEmpty() || !m_data)
        return;
    const QList<QString> ids = m_opened.values();
    // Not put back on failure: the failure shows, and the member can mark them himself.
    m_opened.clear();
    m_data->markInboxRead(ids, false);
}

QCoro::Task<> MemberNotificationsModel::show()
{
    m_shown = true;
    m_stay.restart();
    const Lifetime::Guard stay = m_stay.guard();
    sendOpened();
    if (!m_data)
        co_return;
    const bool member = m_app && m_app->user() && m_app->user()->isMember();

    QCoro::Task<> pireps = m_data->loadPireps();
    QCoro::Task<> events = m_data->loadEvents(member);
    co_await m_data->loadInbox();
    co_await std::move(pireps);
    co_await std::move(events);
    if (!stay.alive())
        co_return;
    co_await migrateLocalReadReceipts();
    if (!stay.alive())
        co_return;
    schedule().startWait(reloadInterval);
}

void MemberNotificationsModel::hide()
{
    m_shown = false;
    m_stay.restart();
    if (m_schedule)
        m_schedule->stopWait();
}

void MemberNotificationsModel::waitEnded()
{
    if (!m_shown)
        return;
    // In the background or inactive the wait goes on without a reload.
    if (schedule().applicationState() == Qt::ApplicationActive)
        reloadAndWait(m_stay.guard());
    else
        schedule().startWait(reloadInterval);
}

QCoro::Task<> MemberNotificationsModel::reloadAndWait(Lifetime::Guard stay)
{
    if (m_data)
        co_await m_data->loadInbox();
    // The next minute counts from the end of this reload, failed or not.
    if (!stay.alive())
        co_return;
    schedule().startWait(reloadInterval);
}

void MemberNotificationsModel::applicationStateChanged(Qt::ApplicationState state)
{
    if (state == Qt::ApplicationActive && m_data)
        m_data->loadInbox();
}

QCoro::Task<> MemberNotificationsModel::markRead(QString noticeId)
{
    if (!m_data)
        co_return;
    QList<QString> ids{std::move(noticeId)};
    co_await sendReadMarks(std::move(ids), false);
}

QCoro::Task<> MemberNotificationsModel::markAllRead()
{
    if (!m_data || !canMarkAll())
        co_return;
    const BusyGuard busy(m_marking, m_lifetime.guard(), [this] {
        Q_EMIT markingChanged();
        Q_EMIT canMarkAllChanged();
    });
    co_await sendReadMarks(QList<QString>(), true);
}

QCoro::Task<> MemberNotificationsModel::sendReadMarks(QList<QString> ids, bool all)
{
    const QPointer<MemberData> data = m_data;
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const bool written = co_await data->markInboxRead(std::move(ids), all);
    if (written || !lifetime.alive() || !data || !data->state(MemberLoad::Inbox).failure)
        co_return;
    ++m_failures;
    Q_EMIT failuresChanged();
}

QCoro::Task<> MemberNotificationsModel::refresh()
{
    // A second pull while one runs would only join the inbox load that is running.
    if (!m_data || m_refreshing)
        co_return;
    const BusyGuard busy(m_refreshing, m_lifetime.guard(), [this] { Q_EMIT refreshingChanged(); });
    co_await m_data->loadInbox();
}

QCoro::Task<> MemberNotificationsModel::migrateLocalReadReceipts()
{
    if (!m_app || !m_data)
        co_return;
    const std::optional<User> user = m_app->user();
    const std::optional<SiteInbox> inbox = m_data->inbox();
    if (!user || !inbox)
        co_return;
    const QString userId = user->id;
    std::optional<QSettings> defaults;
    if (!m_settings)
        defaults.emplace();
    const QPointer<QSettings> settings = m_settings ? m_settings.data() : &*defaults;
    if (ReadMarks::isMigrated(*settings, userId))
        co_return;
    const QList<QString> ids = ReadMarks::matchingIds(*inbox, ReadMarks::stored(*settings, userId));
    if (ids.isEmpty()) {
        settings->setValue(ReadMarks::migratedKey(userId), true);
        co_return;
    }

    const bool accepted = co_await m_data->markInboxRead(ids, false);
    // Only a write the service took marks the hand-over done; else the next visit tries again.
    if (!accepted || !settings)
        co_return;
    settings->setValue(ReadMarks::migratedKey(userId), true);
}

void MemberNotificationsModel::appear() { show(); }

void MemberNotificationsModel::disappear() { hide(); }

void MemberNotificationsModel::startMarkRead(const QString &noticeId) { markRead(noticeId); }

void MemberNotificationsModel::startMarkAllRead() { markAllRead(); }

void MemberNotificationsModel::startRefresh() { refresh(); }
