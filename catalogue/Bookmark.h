#pragma once
// A bookmark: title, address, description, add date and last visit, and the list
// that holds it. The five texts live in one implicitly shared block, so copies
// (undo snapshots, clipboard) share them until one side changes a field.

#include <QSharedData>
#include <QSharedDataPointer>
#include <QString>

class TBookmarks;

struct TBookmarkData : QSharedData
{
    QString Title;
    QString AddDate;
    QString Description;
    QString LastVisit;
    QString Address;
};

class TBookmark
{
public:
    TBookmark(); // AddDate is today, "yyyy.mm.dd"
    TBookmark(const TBookmark &) = delete;
    TBookmark &operator=(const TBookmark &) = delete;

    const QString &Title() const { return d->Title; }
    const QString &AddDate() const { return d->AddDate; }
    const QString &Description() const { return d->Description; }
    const QString &LastVisit() const { return d->LastVisit; }
    const QString &Address() const { return d->Address; }
    TBookmarks *Owner() const { return m_owner; }

    void SetTitle(const QString &value) { d->Title = value; }
    void SetAddress(const QString &value) { d->Address = value; }
    void SetDescription(const QString &value) { d->Description = value; }
    void SetLastVisit(const QString &value) { d->LastVisit = value; }
    // Only the constructor, the copies and the catalogue file reader write AddDate.
    void SetAddDate(const QString &value) { d->AddDate = value; }

    // Both copy the five texts; Owner is not copied.
    void Assign(const TBookmark &source) { d = source.d; }
    void AssignFields(const TBookmark &source) { d = source.d; }

    // Position in Owner; 0 when there is no owner.
    int GetIndex() const;

private:
    friend class TBookmarks;
    // A copy without owner, as Create followed by Assign gives, without making
    // texts only to drop them: undo snapshots copy every bookmark of the tree.
    struct CopyOf { const TBookmark &source; };
    explicit TBookmark(CopyOf copy) : d(copy.source.d) {}

    QSharedDataPointer<TBookmarkData> d;
    TBookmarks *m_owner = nullptr;
};

// Today's local date as "yyyy.mm.dd".
QString TodayText();

// The clock TodayText reads, in milliseconds since the epoch; tests set their own,
// none puts the system clock back.
using TClock = qint64 (*)();
void SetTodayClock(TClock clock);
