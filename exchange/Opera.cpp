#include "exchange/Opera.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "catalogue/FolderWalk.h"
#include "platform/TextCodec.h"

namespace {

const QByteArrayView kName = "NAME=";
const QByteArrayView kUrl = "URL=";
const QByteArrayView kDescription = "DESCRIPTION=";

// The value of a key line: the text after the key, two 0x02 characters read
// back as the line break they stand for. The whole line is decoded: decoding the
// value alone would drop a byte-order mark at its start.
QString KeyValue(QByteArrayView line, QByteArrayView key)
{
    QString value = DecodeUtf8OrAnsi(line).sliced(key.size());
    value.replace(QLatin1StringView("\x02\x02"), QLatin1StringView("\r\n"));
    return value;
}

class OperaReader
{
public:
    OperaReader(TCatalog &catalog, TLineReader &lines, TFolder *folder)
        : m_merger(catalog), m_lines(lines), m_current(folder)
    {
    }

    void Read()
    {
        while (Next()) {
            if (m_line == "#FOLDER") {
                if (!Seek(kName))
                    return;
                AddFolder();
            } else if (m_line == "-") {
                m_current = m_current ? m_current->Parent() : nullptr;
                m_describing = nullptr;
            } else if (m_line == "#URL") {
                m_describing = nullptr;
                if (m_current && !AddBookmark())
                    return;
            } else if (m_describing && m_line.startsWith(kDescription)) {
                m_describing->SetDescription(KeyValue(m_line, kDescription));
                m_describing = nullptr;
            }
        }
    }

private:
    bool Next()
    {
        QByteArrayView raw;
        if (!m_lines.ReadLine(raw))
            return false;
        m_line = TrimLine(raw);
        return true;
    }

    // Reads on while the line in hand does not begin with key; false at the end.
    bool Seek(QByteArrayView key)
    {
        while (!m_line.startsWith(key))
            if (!Next())
                return false;
        return true;
    }

    void AddFolder()
    {
        auto folder = std::make_unique<TFolder>();
        folder->SetTitle(TrimText(KeyValue(m_line, kName)).toString());
        bool isNew = false;
        m_current = m_merger.MergeFolder(m_current, std::move(folder), &isNew);
        // A folder found in the catalogue keeps its own description.
        m_describing = isNew ? m_current : nullptr;
    }

    // False when the file ends before the block is complete.
    bool AddBookmark()
    {
        if (!Seek(kName))
            return false;
        auto bookmark = std::make_unique<TBookmark>();
        bookmark->SetTitle(KeyValue(m_line, kName)); // blanks after "=" stay
        if (!Next() || !Seek(kUrl))
            return false;
        bookmark->SetAddress(KeyValue(m_line, kUrl));
        m_merger.MergeBookmark(*m_current, std::move(bookmark));
        return true;
    }

    TMerger m_merger;
    TLineReader &m_lines;
    QByteArrayView m_line;
    TFolder *m_current;
    TFolder *m_describing = nullptr; // a folder just made, until its block ends
};

void AppendKeyLine(TLineWriter &lines, QLatin1StringView key, const QString &value)
{
    lines.Append(key);
    qsizetype run = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.Append(QStringView(value).sliced(run, i - run));
        lines.Append(QLatin1StringView("\x02\x02"));
        if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
            ++i;
        run = i + 1;
    }
    lines.Append(QStringView(value).sliced(run));
    lines.EndLine();
}

void WriteFolderBlock(const TFolder &folder, TLineWriter &lines)
{
    lines.Line(QLatin1StringView("#FOLDER"));
    AppendKeyLine(lines, QLatin1StringView("NAME="), folder.Title());
    if (!folder.Description().isEmpty())
        AppendKeyLine(lines, QLatin1StringView("DESCRIPTION="), folder.Description());
    for (const auto &bookmark : folder.Bookmarks()) {
        lines.Line(QLatin1StringView("#URL"));
        AppendKeyLine(lines, QLatin1StringView("NAME="), bookmark->Title());
        AppendKeyLine(lines, QLatin1StringView("URL="), bookmark->Address());
        if (!bookmark->Description().isEmpty())
            AppendKeyLine(lines, QLatin1StringView("DESCRIPTION="), bookmark->Description());
    }
}

} // namespace

void ReadOperaLines(TCatalog &catalog, TLineReader &lines, TFolder *folder)
{
    OperaReader(catalog, lines, folder).Read();
}

void ImportOpera(TCatalog &catalog, const QString &fileName, TFolder *folder)
{
    if (!IsExistingFile(fileName))
        return;
    TLineReader lines(fileName);
    ReadOperaLines(catalog, lines, folder);
}

void WriteOperaFolders(const TCatalog &catalog, const TFolder *folder, TLineWriter &lines)
{
    WalkFolders(
        catalog, folder, [&lines](const TFolder &f) { WriteFolderBlock(f, lines); },
        [&lines](const TFolder &) { lines.Line(QLatin1StringView("-")); });
}

void WriteOperaFile(const TCatalog &catalog, TLineWriter &lines)
{
    lines.Line(QLatin1StringView("Opera Hotlist version 2.0"));
    lines.Line(QLatin1StringView("Options: encoding = utf8, version=3"));
    WriteOperaFolders(catalog, nullptr, lines);
}

void ExportOpera(const TCatalog &catalog, const QString &fileName)
{
    ExportMerged(catalog, fileName, ImportOpera, WriteOperaFile);
}
