#pragma once
// Files and small catalogues shared by the exchange tests.

#include "catalogue/Catalog.h"
#include "platform/VarnokelError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstring>
#include <functional>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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

// A socket file: it exists but cannot be opened, even by root. Closed and removed
// with the object.
class SocketFile
{
public:
    explicit SocketFile(const QString &fileName) : m_fileName(fileName)
    {
        QDir().mkpath(QFileInfo(fileName).absolutePath());
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray encoded = QFile::encodeName(fileName);
        if (size_t(encoded.size()) >= sizeof address.sun_path)
            return;
        std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
        m_fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), sizeof address))
            Close();
    }
    ~SocketFile() { Close(); }
    bool IsValid() const { return m_fd >= 0; }

private:
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    QString m_fileName;
    int m_fd = -1;
};

// The message of the VarnokelError that action raises; empty when none.
inline QString ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const VarnokelError &e) {
        return e.Message();
    }
    return QString();
}
