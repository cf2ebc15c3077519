#include "AttendanceButtonsModel.h"

#include "L.h"
#include "Outcome.h"
#include "Retarget.h"

AttendanceButtonsModel::AttendanceButtonsModel(QObject *parent)
    : QObject(parent)
{
}

void AttendanceButtonsModel::setMemberData(MemberData *data)
{
    if (!retarget(m_data, data, this))
        return;
    if (m_data)
        connect(m_data, &MemberData::attendanceChanged, this, &AttendanceButtonsModel::selectionChanged);
    Q_EMIT memberDataChanged();
    Q_EMIT selectionChanged();
}

void AttendanceButtonsModel::setEvent(const EventValue &event)
{
    if (event == m_event)
        return;
    m_event = event;
    Q_EMIT eventChanged();
    Q_EMIT selectionChanged();
}

QStringList AttendanceButtonsModel::titles() const
{
    QStringList titles;
    for (const AttendanceChoice choice : allAttendanceChoices)
        titles.append(attendanceTitle(choice));
    return titles;
}

int AttendanceButtonsModel::selected() const
{
    if (!m_data)
        return -1;
    const auto entry = m_data->attendance().constFind(m_event.event.id);
    if (entry == m_data->attendance().cend())
        return -1;
    for (int i = 0; i < int(allAttendanceChoices.size()); ++i) {
        if (raw(allAttendanceChoices.at(i)) == *entry)
            return i;
    }
    return -1;
}

void AttendanceButtonsModel::setError(const QString &error)
{
    if (error == m_error)
        return;
    m_error = error;
    Q_EMIT errorChanged();
}

void AttendanceButtonsModel::choose(int index)
{
    if (index >= 0 && index < int(allAttendanceChoices.size()) && !locked())
        save(allAttendanceChoices.at(index));
}

QCoro::Task<> AttendanceButtonsModel::save(AttendanceChoice choice)
{
    const QPointer<MemberData> data = m_data;
    if (!data)
        co_return;
    const FlightEvent event = m_event.event;
    const QString answer = raw(choice);
    const auto entry = data->attendance().constFind(event.id);
    const std::optional<QString> previous =
        entry == data->attendance().cend() ? std::nullopt : std::optional<QString>(*entry);
    if (previous == answer)
        co_return;
    data->setAttendance(event.id, answer);
    setError(QString());

    // The save outlives the buttons: its rollback still belongs to the member data.
    const Lifetime::Guard lifetime = m_lifetime.guard();
    const Outcome<> sent = co_await attempt(data->respond(event, choice));
    if (sent.ok() || !data)
        co_return;
    // Only this save's own answer is taken back: a later tap or a reload of the answers stays.
    const auto now = data->attendance().constFind(event.id);
    if (now != data->attendance().cend() && *now == answer)
        data->setAttendance(event.id, previous);
    if (lifetime.alive()) {
        const QString reason = sent.cancelled() ? L(QStringLiteral("已取消")) : sent.message();
        ++m_failures;
        setError(L(QStringLiteral("没有保存成功：")) + reason);
    }
}
