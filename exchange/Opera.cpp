#include "exchange/Opera.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "catalogue/FolderWalk.h"
#include "platform/TextCodec.h"

#include <QFileInfo>

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

// The keys read from one block.
struct Block
{
    QString name;
    QString url;
    QString description;
};

class OperaReader
{
public:
    OperaReader(TCatalog &catalog, TLineReader &lines, TFolder *folder)
        : m_merger(catalog), m_lines(lines), m_current(folder)
    {
    }

    void Read()
    {
        bool more = Next();
        while (more) {
            if (m_line == "#FOLDER") {
                Block block;
                more = ReadBlock(block);
                AddFolder(block);
            } else if (m_line == "#URL") {
                Block block;
                more = ReadBlock(block);
                AddBookmark(block);
            } else {
                if (m_line == "-")
                    m_current = m_current ? m_current->Parent() : nullptr;
                more = Next();
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

    // Reads the key lines of the block opened by the line in hand, up to the next
    // line that opens a block or closes a folder, which is then in hand; false
    // when the file ends first. A missing key reads as empty; of a repeated one
    // the first counts.
    bool ReadBlock(Block &block)
    {
        bool name = false;
        bool url = false;
        bool description = false;
        while (Next()) {
            if (m_line.startsWith('#') || m_line == "-")
                return true;
            if (!name && m_line.startsWith(kName)) {
                block.name = KeyValue(m_line, kName);
                name = true;
            } else if (!url && m_line.startsWith(kUrl)) {
                block.url = KeyValue(m_line, kUrl);
                url = true;
            } else if (!description && m_line.startsWith(kDescription)) {
                block.description = KeyValue(m_line, kDescription);
                description = true;
            }
        }
        return false;
    }

    void AddFolder(const Block &block)
    {
        // A folder found in the catalogue keeps its own description.
        auto folder = std::make_unique<TFolder>();
        folder->SetTitle(TrimText(block.name).toString());
        folder->SetDescription(block.description);
        m_current = m_merger.MergeFolder(m_current, std::move(folder));
    }

    void AddBookmark(const Block &block)
    {
        auto bookmark = std::make_unique<TBookmark>();
        bookmark->SetTitle(block.name); // blanks after "=" stay
        bookmark->SetAddress(block.url);
        m_merger.MergeBookmark(m_current ? *m_current : LooseFolder(), std::move(bookmark));
    }

    // Bookmarks outside every folder go into a root folder titled with the
    // hotlist's file name without its extension.
    TFolder &LooseFolder()
    {
        if (!m_loose) {
            auto folder = std::make_unique<TFolder>();
            folder->SetTitle(QFileInfo(m_lines.Name()).completeBaseName());
            m_loose = m_merger.MergeFolder(nullptr, std::move(folder));
        }
        return *m_loose;
    }

    TMerger m_merger;
    TLineReader &m_lines;
    QByteArrayView m_line;
    TFolder *m_current;
    TFolder *m_loose = nullptr;
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
