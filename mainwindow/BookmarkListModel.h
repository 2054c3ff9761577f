#pragma once
// The rows of the bookmark list: row i shows bookmark i of one bookmark list
// (title, address, last visit, add date). It holds no copies, so a folder of
// 100,000 bookmarks fills at once; whoever changes the list tells the model.

#include <QAbstractTableModel>

class TBookmark;
class TBookmarks;

class TBookmarkListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TBookmarkListModel(QObject *parent = nullptr);

    // Shows the list (none: no rows), all rows anew.
    void Reset(const TBookmarks *bookmarks);
    const TBookmarks *Bookmarks() const { return m_bookmarks; }
    // The row showing this very bookmark, -1 when none does. The search runs
    // outward from row `near`, so a row close to it is found at once whatever
    // the number of rows.
    int RowOf(const TBookmark *bookmark, int near) const;

    void SetColumnCaption(int column, const QString &caption);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

private:
    const TBookmarks *m_bookmarks = nullptr;
    int m_rows = 0;
    QString m_captions[4] = {QStringLiteral("Title"), QStringLiteral("Address"),
                             QStringLiteral("Last Visit"), QStringLiteral("Add Date")};
};
