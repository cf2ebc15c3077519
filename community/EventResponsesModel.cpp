#include "EventResponsesModel.h"

#include "APIPath.h"
#include "EventValue.h"

#include "L.h"
#include "Outcome.h"
#include "Retarget.h"

QHash<int, QByteArray> ResponseGroupList::roleNames() const
{
    return {{AnswerRole, "answer"}, {HeadingRole, "heading"}, {NamesRole, "names"}};
}

QVariant ResponseGroupList::value(const ResponseGroup &group, int role) const
{
    switch (role) {
    case AnswerRole:
        return group.answer;
    case HeadingRole:
        return group.heading;
    case NamesRole:
        return group.names;
    default:
        return {};
    }
}

EventResponsesModel::EventResponsesModel(QObject *parent)
    : QObject(parent)
{
}

void EventResponsesModel::setAppState(AppState *app)
{
    if (!retarget(m_app, app, this))
        return;
    Q_EMIT appStateChanged();
}

void EventResponsesModel::setEventId(const QString &id)
{
    if (id == m_eventId)
        return;
    m_eventId = id;
    Q_EMIT eventIdChanged();
    m_eventRun.restart();
    if (m_shown && !m_eventId.isEmpty())
        load();
}

void EventResponsesModel::appear()
{
    if (m_shown)
        return;
    m_shown = true;
    if (!m_eventId.isEmpty())
        load();
}

void EventResponsesModel::setResponses(const QList<EventResponseEntry> &responses)
{
    m_responses = responses;
    QList<ResponseGroup> groups;
    for (const AttendanceChoice choice : allAttendanceChoices) {
        QStringList names;
        // Exact text only: "Attending" or "maybe" is in no group. Names as sent, repeats included.
        for (const EventResponseEntry &entry : responses) {
            if (entry.response == raw(choice))
                names.append(entry.username);
        }
        groups.append({raw(choice),
                       Ln(QStringLiteral("%@ · %@ 人"), names.size(), attendanceTitle(choice), names.size()),
                       names.isEmpty() ? QStringLiteral("\u2014") : names.join(QStringLiteral(", "))});
    }
    m_groups.setRecords(std::move(groups));
}

QCoro::Task<> EventResponsesModel::load(bool asked)
{
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Lifetime::Guard run = m_eventRun.guard();
    const Outcome<EventResponsesResponse> answer = co_await attempt(APIClient::get<EventResponsesResponse>(
        m_app ? m_app->api() : nullptr, APIPath::staffEventResponses(m_eventId)));
    if (!lifetime.alive() || !run.alive() || answer.cancelled())
        co_return;
    if (answer.failed()) {
        // The list stays on screen; the message shows only where there is none.
        m_error = answer.message();
        if (asked)
            ++m_failures;
    } else {
        setResponses(answer.value().responses);
        m_error.reset();
    }
    Q_EMIT stateChanged();
}
