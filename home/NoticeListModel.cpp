#include "NoticeListModel.h"

#include "NoticeText.h"

namespace {

// Whether `part` is `whole` with some rows left out, the rest in the same order.
bool isSubsequence(const QList<NoticeListModel::Row> &part, const QList<NoticeListModel::Row> &whole)
{
    qsizetype next = 0;
    for (const NoticeListModel::Row &row : whole) {
        if (next < part.size() && part.at(next) == row)
            ++next;
    }
    return next == part.size();
}

} // namespace

NoticeListModel::Row NoticeListModel::rowFor(const SiteNotice &notice)
{
    return {notice.id, NoticeText::title(notice), NoticeText::detail(notice),
            NoticeText::day(notice.occurredAt), NoticeText::symbol(notice)};
}

void NoticeListModel::setNotices(const QList<SiteNotice> &notices)
{
    QList<Row> rows;
    rows.reserve(notices.size());
    for (const SiteNotice &notice : notices)
        rows.append(rowFor(notice));
    if (rows == m_rows)
        return;
    const qsizetype before = m_rows.size();
    if (isSubsequence(rows, m_rows)) {
        // From the end, so the indexes still to visit stay valid.
        qsizetype kept = rows.size();
        for (qsizetype i = m_rows.size() - 1; i >= 0; --i) {
            if (kept > 0 && rows.at(kept - 1) == m_rows.at(i)) {
                --kept;
                continue;
            }
            beginRemoveRows({}, int(i), int(i));
            m_rows.removeAt(i);
            endRemoveRows();
        }
    } else {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    if (m_rows.size() != before)
        Q_EMIT countChanged();
}

int NoticeListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant NoticeListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case NoticeIdRole:
        return row.noticeId;
    case TitleRole:
        return row.title;
    case DetailRole:
        return row.detail;
    case TimeRole:
        return row.time;
    case SymbolRole:
        return row.symbol;
    default:
        return {};
    }
}

QHash<int, QByteArray> NoticeListModel::roleNames() const
{
    return {{NoticeIdRole, "noticeId"},
            {TitleRole, "title"},
            {DetailRole, "detail"},
            {TimeRole, "time"},
            {SymbolRole, "symbol"}};
}
