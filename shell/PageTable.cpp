#include "PageTable.h"

QQmlListProperty<PageRow> PageTable::rows() { return QQmlListProperty<PageRow>(this, &m_rows); }

QQmlComponent *PageTable::component(ShellPage page) const
{
    for (const PageRow *row : m_rows) {
        if (row->page() == page)
            return row->component();
    }
    return nullptr;
}
