#include "SidebarModel.h"

#include "L.h"
#include "Symbols.h"

SidebarModel::SidebarModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_rows(rowsFor(QString()))
{
}

QList<SidebarModel::Row> SidebarModel::rowsFor(const QString &userRole)
{
    // Staff and any other role get the workbench.
    const bool member = User::isMemberRole(userRole);
    QList<Row> rows;
    rows.append(member ? Row{L("首页"), SYMBOL("house"), MemberTab::Home}
                       : Row{L("审核"), SYMBOL("checkmark.seal"), MemberTab::Home});
    if (member)
        rows.append({QStringLiteral("PIREP"), SYMBOL("doc.text"), MemberTab::Flights});
    rows.append({QStringLiteral("Live"), SYMBOL("airplane.circle"), MemberTab::Live});
    rows.append({L("地图"), SYMBOL("map"), MemberTab::Map});
    rows.append({L("其他"), SYMBOL("ellipsis.circle"), MemberTab::Account});
    return rows;
}

void SidebarModel::setUserRole(const QString &role)
{
    if (role == m_userRole)
        return;
    beginResetModel();
    m_userRole = role;
    m_rows = rowsFor(role);
    endResetModel();
    Q_EMIT userRoleChanged();
}

int SidebarModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SidebarModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case TitleRole:
        return row.title;
    case SymbolRole:
        return row.symbol;
    case TabRole:
        return QVariant::fromValue(row.tab);
    default:
        return {};
    }
}

QHash<int, QByteArray> SidebarModel::roleNames() const
{
    return {{TitleRole, "title"}, {SymbolRole, "symbol"}, {TabRole, "tab"}};
}
