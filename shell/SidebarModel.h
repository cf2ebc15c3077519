#pragma once

#include "MemberNavigation.h"

#include <QAbstractListModel>
#include <QQmlEngine>

// The rows of the sidebar for the signed-in user's role: home (the review workbench for staff), PIREP for
// members only, Live, map and "其他".
class SidebarModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString userRole READ userRole WRITE setUserRole NOTIFY userRoleChanged)

public:
    enum Roles { TitleRole = Qt::UserRole + 1, SymbolRole, TabRole };

    struct Row
    {
        QString title;
        QString symbol;
        MemberTab tab;
    };

    explicit SidebarModel(QObject *parent = nullptr);

    QString userRole() const { return m_userRole; }
    void setUserRole(const QString &role);

    static QList<Row> rowsFor(const QString &userRole);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void userRoleChanged();

private:
    QString m_userRole;
    QList<Row> m_rows;
};
