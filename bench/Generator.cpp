#include "bench/Generator.h"

#include <random>
#include <vector>

namespace {

const char *const kWords[] = {
    "news", "daily", "Linux", "kernel", "recipes", "garden", "photo", "travel",
    "Café", "Straße", "música", "日本語", "review", "guide", "forum", "blog",
    "weather", "maps", "Docs", "API", "tutorial", "archive", "shop", "école",
    "football", "science", "history", "Qt", "bookmarks", "library", "office", "jobs",
};
const char *const kHosts[] = {
    "example.com", "news.example.org", "www.kernel.example", "docs.example.net",
    "shop.example.de", "blog.example.fr", "maps.example.jp", "wiki.example.org",
};

class Source
{
public:
    explicit Source(unsigned seed) : m_rng(seed) {}
    int Below(int n) { return int(m_rng() % unsigned(n)); }

    QString Words(int count)
    {
        QString text;
        for (int i = 0; i < count; ++i) {
            if (i)
                text += QLatin1Char(' ');
            text += QString::fromUtf8(kWords[Below(int(std::size(kWords)))]);
        }
        return text;
    }

    QString Date()
    {
        return QStringLiteral("%1.%2.%3")
            .arg(2000 + Below(25))
            .arg(1 + Below(12), 2, 10, QLatin1Char('0'))
            .arg(1 + Below(28), 2, 10, QLatin1Char('0'));
    }

    void Fill(TBookmark &b)
    {
        b.SetTitle(Words(2 + Below(6)));
        b.SetAddress(QStringLiteral("https://%1/%2/%3.html")
                         .arg(QString::fromLatin1(kHosts[Below(int(std::size(kHosts)))]))
                         .arg(Below(100000))
                         .arg(Words(1 + Below(3)).replace(QLatin1Char(' '), QLatin1Char('-'))));
        if (Below(5) == 0)
            b.SetDescription(Words(8 + Below(12)));
        b.SetAddDate(Date());
        if (Below(2) == 0)
            b.SetLastVisit(Date());
    }

private:
    std::mt19937 m_rng;
};

} // namespace

void GenerateBookmarks(TFolder &folder, int count, unsigned seed)
{
    Source source(seed);
    for (int i = 0; i < count; ++i)
        source.Fill(*folder.Bookmarks().Add(std::make_unique<TBookmark>()));
}

void GenerateCatalog(TCatalog &catalog, int bookmarks, int folders, unsigned seed)
{
    Source source(seed);
    std::vector<TFolder *> all;
    all.reserve(size_t(folders));
    for (int i = 0; i < folders; ++i) {
        auto folder = std::make_unique<TFolder>();
        folder->SetTitle(source.Words(1 + source.Below(3)));
        if (source.Below(4) == 0)
            folder->SetDescription(source.Words(5 + source.Below(10)));
        folder->SetExpanded(source.Below(3) == 0);
        // A parent at depth < 6 among the folders made so far, or the root list.
        TFolder *parent = nullptr;
        if (!all.empty() && source.Below(10) != 0) {
            parent = all[size_t(source.Below(int(all.size())))];
            int depth = 0;
            for (TFolder *p = parent; p; p = p->Parent())
                ++depth;
            if (depth >= 6)
                parent = nullptr;
        }
        TFolders &list = parent ? parent->Folders() : catalog.Folders();
        all.push_back(list.Add(std::move(folder)));
    }
    if (all.empty())
        return;
    for (int i = 0; i < bookmarks; ++i)
        source.Fill(*all[size_t(source.Below(int(all.size())))]->Bookmarks().Add(
            std::make_unique<TBookmark>()));
}

QStringList GenerateTitles(int count, unsigned seed)
{
    Source source(seed);
    QStringList titles;
    titles.reserve(count);
    for (int i = 0; i < count; ++i)
        titles << source.Words(2 + source.Below(6));
    return titles;
}
