#include "StaffEventsModel.h"

void StaffEventsModel::setMemberData(MemberData *data)
{
    if (m_data == data)
        return;
    if (m_data)
        m_data->disconnect(this);
    m_data = data;
    if (m_data) {
        connect(m_data, &MemberData::eventsChanged, this, &StaffEventsModel::changed);
        connect(m_data, &MemberData::loadStateChanged, this, &StaffEventsModel::changed);
    }
    Q_EMIT changed();
}

bool StaffEventsModel::loading() const { return m_data && m_data->state(MemberLoad::Events).loading; }

QString StaffEventsModel::failure() const
{
    return m_data ? m_data->state(MemberLoad::Events).failureText() : QString();
}

bool StaffEventsModel::showsEmpty() const
{
    return m_data && m_data->state(MemberLoad::Events).loaded && m_data->events().isEmpty();
}

void StaffEventsModel::appear()
{
    // Staff give no answers of their own: only the list.
    if (m_data)
        m_data->loadEvents(false);
}

EventValue StaffEventsModel::eventAt(int index) const
{
    if (!m_data || index < 0 || index >= m_data->events().size())
        return {};
    return {m_data->events().at(index)};
}

void StaffEventsModel::open(int index) const
{
    if (m_navigation && m_data && index >= 0 && index < m_data->events().size())
        m_navigation->push(NavigationStack::HomeStack, EventRoute{m_data->events().at(index)});
}
