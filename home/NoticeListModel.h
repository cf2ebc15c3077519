#pragma once

#include "CommunityRecords.h"

#include <QAbstractListModel>
#include <QQmlEngine>

// The rows of the inbox: one per notice, in the inbox's order, with the texts the view shows.
class NoticeListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the inbox model")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Roles { NoticeIdRole = Qt::UserRole + 1, TitleRole, DetailRole, TimeRole, SymbolRole };

    struct Row
    {
        QString noticeId;
        QString title;
        QString detail;
        QString time;
        QString symbol;
        bool operator==(const Row &) const = default;
    };

    using QAbstractListModel::QAbstractListModel;

    static Row rowFor(const SiteNotice &notice);
    // A reload that only drops notices (they were read) removes their rows and leaves the others as they
    // are, swiped or not; any other change rebuilds the list.
    void setNotices(const QList<SiteNotice> &notices);
    const QList<Row> &rows() const { return m_rows; }
    int count() const { return int(m_rows.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();

private:
    QList<Row> m_rows;
};
