#include "catalogue/Bookmark.h"
#include "catalogue/Bookmarks.h"

#include <QDate>
#include <QDateTime>

namespace {

qint64 SystemClock()
{
    return QDateTime::currentMSecsSinceEpoch();
}

TClock g_clock = SystemClock;

} // namespace

void SetTodayClock(TClock clock)
{
    g_clock = clock ? clock : SystemClock;
}

QString TodayText()
{
    // Loading makes a bookmark per element, so the text is kept for the local day
    // it was made on. The clock may be set back as well as forward: a time before
    // that day's start is another day too.
    static QString cached;
    static qint64 validFrom = 0;
    static qint64 validUntil = 0;
    const qint64 now = g_clock();
    if (now < validFrom || now >= validUntil) {
        const QDate today = QDateTime::fromMSecsSinceEpoch(now).date();
        cached = today.toString(QStringLiteral("yyyy.MM.dd"));
        validFrom = today.startOfDay().toMSecsSinceEpoch();
        validUntil = today.addDays(1).startOfDay().toMSecsSinceEpoch();
    }
    return cached;
}

TBookmark::TBookmark() : d(new TBookmarkData)
{
    d->AddDate = TodayText();
}

int TBookmark::GetIndex() const
{
    return m_owner ? m_owner->IndexOf(this) : 0;
}

TBookmark *TBookmarks::Add(std::unique_ptr<TBookmark> bookmark)
{
    bookmark->m_owner = this;
    TBookmark *raw = bookmark.get();
    Append(std::move(bookmark));
    return raw;
}

TBookmark *TBookmarks::Insert(int index, std::unique_ptr<TBookmark> bookmark)
{
    bookmark->m_owner = this;
    TBookmark *raw = bookmark.get();
    InsertAt(index, std::move(bookmark));
    return raw;
}

void TBookmarks::AddCopies(const TBookmarks &source)
{
    const int count = source.Count();
    source.PrefetchTexts();
    if (IsEmpty())
        Reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        Add(std::unique_ptr<TBookmark>(new TBookmark(TBookmark::CopyOf{*source.At(i)})));
}

void TBookmarks::PrefetchTexts() const
{
    for (const auto &bookmark : *this)
        __builtin_prefetch(bookmark->d.constData(), 1);
}


int TBookmarks::IndexOfTitle(const QString &text) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameTitle(At(i)->Title(), text))
            return i;
    return -1;
}
