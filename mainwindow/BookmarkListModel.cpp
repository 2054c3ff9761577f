#include "mainwindow/BookmarkListModel.h"
#include "catalogue/Bookmarks.h"

#include <algorithm>

TBookmarkListModel::TBookmarkListModel(QObject *parent) : QAbstractTableModel(parent)
{
}

void TBookmarkListModel::Reset(const TBookmarks *bookmarks)
{
    beginResetModel();
    m_bookmarks = bookmarks;
    m_rows = bookmarks ? bookmarks->Count() : 0;
    endResetModel();
}

int TBookmarkListModel::RowOf(const TBookmark *bookmark, int near) const
{
    const int rows = m_bookmarks ? std::min(m_rows, m_bookmarks->Count()) : 0;
    near = std::clamp(near, 0, std::max(rows - 1, 0));
    for (int below = near, above = near - 1; below < rows || above >= 0; ++below, --above) {
        if (below < rows && m_bookmarks->At(below) == bookmark)
            return below;
        if (above >= 0 && m_bookmarks->At(above) == bookmark)
            return above;
    }
    return -1;
}

void TBookmarkListModel::SetColumnCaption(int column, const QString &caption)
{
    if (m_captions[column] == caption)
        return;
    m_captions[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int TBookmarkListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int TBookmarkListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 4;
}

QVariant TBookmarkListModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !m_bookmarks || index.row() >= m_bookmarks->Count())
        return {};
    const TBookmark *b = m_bookmarks->At(index.row());
    switch (index.column()) {
    case 0: return b->Title();
    case 1: return b->Address();
    case 2: return b->LastVisit();
    case 3: return b->AddDate();
    default: return {};
    }
}

QVariant TBookmarkListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
        return m_captions[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags TBookmarkListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index) | Qt::ItemIsDropEnabled;
    if (index.isValid())
        f |= Qt::ItemIsDragEnabled;
    return f;
}

Qt::DropActions TBookmarkListModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions TBookmarkListModel::supportedDropActions() const
{
    return Qt::MoveAction;
}
