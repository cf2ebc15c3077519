#pragma once

#include <QAbstractListModel>
#include <QList>

#include <algorithm>

// A list model over records that are replaced as a whole. A list equal to the one shown changes nothing,
// so views keep their delegates (and their focus) across reloads that bring the same answer. A subclass
// names its roles and reads one record's value for a role.
template <typename Record>
class RecordListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void setRecords(QList<Record> records)
    {
        if (records == m_records)
            return;
        beginResetModel();
        m_records = std::move(records);
        endResetModel();
    }
    // Records that stand for the rows shown, one for one (`sameRow` says so of each pair: the same flight in
    // a newer snapshot), change those rows in place, so views keep their delegates and the keyboard on them;
    // any other list replaces them all.
    template <typename SameRow>
    void setRecords(QList<Record> records, SameRow sameRow)
    {
        const bool inPlace =
            records.size() == m_records.size()
            && std::equal(m_records.cbegin(), m_records.cend(), records.cbegin(), records.cend(), sameRow);
        if (!inPlace || records.isEmpty())
            return setRecords(std::move(records));
        if (records == m_records)
            return;
        m_records = std::move(records);
        Q_EMIT dataChanged(index(0), index(int(m_records.size()) - 1));
    }
    const QList<Record> &records() const { return m_records; }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_records.size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_records.size())
            return {};
        return value(m_records.at(index.row()), role);
    }

protected:
    virtual QVariant value(const Record &record, int role) const = 0;

private:
    QList<Record> m_records;
};
