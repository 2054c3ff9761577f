#pragma once
// Files and small catalogues shared by the exchange tests.

#include "catalogue/Catalog.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

inline void WriteBytes(const QString &fileName, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(fileName));
}

inline QByteArray ReadBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline TFolder *AddFolder(TFolders &list, const QString &title, const QString &description = {})
{
    auto folder = std::make_unique<TFolder>();
    folder->SetTitle(title);
    folder->SetDescription(description);
    return list.Add(std::move(folder));
}

inline TBookmark *AddBookmark(TFolder &folder, const QString &title, const QString &address,
                              const QString &description = {})
{
    auto bookmark = std::make_unique<TBookmark>();
    bookmark->SetTitle(title);
    bookmark->SetAddress(address);
    bookmark->SetDescription(description);
    return folder.Bookmarks().Add(std::move(bookmark));
}

// Two root folders: A (described) with two bookmarks, one accented and described,
// and a sub-folder B with one bookmark; then the empty folder Empty.
inline void MakeSmallCatalog(TCatalog &catalog)
{
    TFolder *a = AddFolder(catalog.Folders(), QStringLiteral("A"), QStringLiteral("About A"));
    AddBookmark(*a, QString::fromUtf8("Caf\xC3\xA9"), QStringLiteral("http://c/"),
                QStringLiteral("Coffee"));
    AddBookmark(*a, QStringLiteral("Plain"), QStringLiteral("http://p/"));
    TFolder *b = AddFolder(a->Folders(), QStringLiteral("B"));
    AddBookmark(*b, QStringLiteral("Deep"), QStringLiteral("http://d/"));
    AddFolder(catalog.Folders(), QStringLiteral("Empty"));
}
