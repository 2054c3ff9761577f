// The 1.x catalogue folder from bytes: the parts between lines "--next--" are the
// tree file, the description file, then ".wnl" files, each named by its first line
// (bytes, maybe not UTF-8).
// Any folder is imported; the tree, written as a Netscape file and read back, must
// come back the same (the dates aside, which that format does not carry).
#include "FuzzSupport.h"
#include "exchange/Import1x.h"
#include "exchange/Netscape.h"
#include "tests/RawNames.h"

#include <QFile>

namespace {

void WriteFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString dir = ScratchFolder();
    QDir().mkpath(dir + QStringLiteral("/Links"));
    QList<QByteArray> files{QByteArray()};
    for (const QByteArray &line : BytesOf(data, size).split('\n')) {
        if (line.trimmed() == "--next--")
            files.append(QByteArray());
        else
            files.last() += line + '\n';
    }
    WriteFile(dir + QStringLiteral("/folders.wnf"), files.value(0));
    WriteFile(dir + QStringLiteral("/folddesc.wnf"), files.value(1));
    for (qsizetype i = 2; i < files.size(); ++i) {
        const qsizetype end = files[i].indexOf('\n');
        const QByteArray name = files[i].left(end).trimmed();
        // By its bytes: a name need not be UTF-8.
        if (!name.isEmpty() && !name.contains('/') && !name.contains('\0') && name.size() < 200)
            WriteRawFile(QFile::encodeName(dir) + "/Links/" + name + ".wnl",
                         files[i].mid(end + 1));
    }
    TCatalog first;
    ImportVarnokel1x(first, dir);
    CheckRoundTrip(first, WriteFirefoxFile, ReadFirefoxLines);
    return 0;
}
