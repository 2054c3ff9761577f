#pragma once
// A two-level list of categories, each with its items, in the designed colours:
// only items can be current; a click on a category folds or unfolds it, and the
// cursor keys step over categories. Its one column is as wide as the list, so
// it never scrolls sideways.

#include <QStringList>
#include <QTreeWidget>

class TCategoryList : public QTreeWidget
{
public:
    explicit TCategoryList(QWidget *parent = nullptr);

    // Appends a category (shown bold) with its items.
    void AddCategory(const QString &caption, const QStringList &items);
    // Fixes the width at what shows every caption whole, never below `least`.
    void FitToCaptions(int least);

    static bool IsCategory(const QModelIndex &index) { return !index.parent().isValid(); }

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};
