// ".url" files: any bytes as a shortcut in a favourites folder are imported; the
// tree is exported as favourites and imported again, and must come back the same
// (but for a CR inside the address, which the ini writer turns into a blank).
#include "FuzzSupport.h"
#include "exchange/Favorites.h"
#include "platform/VarnokelError.h"
#include "tests/CatalogOutline.h"

#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString dir = ScratchFolder();
    QDir().mkpath(dir + QStringLiteral("/in/Folder"));
    QFile file(dir + QStringLiteral("/in/Folder/Shortcut.url"));
    if (!file.open(QIODevice::WriteOnly) || file.write(BytesOf(data, size)) != qint64(size))
        return 0;
    file.close();
    TCatalog first;
    ImportIE(first, dir + QStringLiteral("/in"));
    Check(first.GetBookmarkCount() == 1);
    ExportIE(first, dir + QStringLiteral("/out"));
    TCatalog second;
    ImportIE(second, dir + QStringLiteral("/out"));
    QString expected = CatalogOutline(first);
    expected.replace(QLatin1Char('\r'), QLatin1Char(' '));
    Check(CatalogOutline(second) == expected);
    return 0;
}
