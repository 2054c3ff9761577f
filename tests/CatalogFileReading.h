#pragma once
// Catalogue files for the reading tests: each written anew in a scratch folder and
// read by every reader, which must agree (tst_catalogfile.cpp,
// tst_catalogfilewellformed.cpp).

#include "catalogue/Catalog.h"
#include "catalogue/CatalogFileReaders.h"
#include "tests/CatalogOutline.h"
#include "tests/CatalogTree.h"
#include "tests/TestSupport.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

inline QByteArray Doc(const QByteArray &body)
{
    return "<varnokel_file>" + body + "</varnokel_file>";
}

// What was added to a catalogue that held the folder "kept" alone.
inline QString AddedOutline(const TCatalog &catalog)
{
    QString outline = CatalogOutline(catalog, kWholeOutline);
    outline.replace(TodayText(), QStringLiteral("today"));
    const QString kept = QStringLiteral("F0 kept |  | 0 0\n");
    return outline.startsWith(kept) ? outline.mid(kept.size()) : "kept is lost\n" + outline;
}

// The files in memory where the machine allows: the disk's waits would cost more
// than all the reading.
inline QString ScratchTemplate()
{
    const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                                      : QDir::tempPath();
    return base + QStringLiteral("/tst_catalogfile-XXXXXX");
}

class CatalogTestFiles
{
public:
    bool IsValid() const { return m_dir.isValid(); }
    const QTemporaryDir &Dir() const { return m_dir; }

    // A new file each time: rewriting one costs more than the reading.
    QString Write(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("bookmarks%1.xml").arg(++m_files));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // "read by: stream|document\nerror: ...\n" and the tree, from loading the file,
    // once the readers (the streaming one also in blocks of 3 bytes) agree on it.
    static QString Read(const QString &path)
    {
        TCatalog streamed, inSmallBlocks, parsed, loaded;
        for (TCatalog *catalog : {&streamed, &inSmallBlocks, &parsed, &loaded})
            AddFolder(catalog->Folders(), QStringLiteral("kept"));
        const bool taken = ReadCatalogStream(path, streamed.Folders());
        const bool takenInBlocks = ReadCatalogStream(path, inSmallBlocks.Folders(), 3);
        const QString parseError = ErrorOf([&] { ReadCatalogDocument(path, parsed.Folders()); });
        const QString error = ErrorOf([&] { loaded.LoadFromFile(path); });
        const QString tree = AddedOutline(loaded);
        if (takenInBlocks != taken || AddedOutline(inSmallBlocks) != AddedOutline(streamed)
            || AddedOutline(streamed) != (taken ? tree : QString()) || error != parseError
            || AddedOutline(parsed) != tree)
            return QStringLiteral(
                       "the readers disagree\nstreamed:\n%1in blocks:\n%2parsed (%3):\n%4")
                .arg(AddedOutline(streamed), AddedOutline(inSmallBlocks), parseError,
                     AddedOutline(parsed));
        return QStringLiteral("read by: %1\nerror: %2\n%3")
            .arg(taken ? QStringLiteral("stream") : QStringLiteral("document"),
                 QString(error).replace(path, QStringLiteral("FILE")), tree);
    }

private:
    QTemporaryDir m_dir{ScratchTemplate()};
    int m_files = 0;
};
