#include "exchange/Opera.h"
#include "exchange/LineFile.h"
#include "exchange/Merge.h"
#include "catalogue/FolderWalk.h"
#include "platform/TextCodec.h"

#include <QFileInfo>

#include <algorithm>

namespace {

const QByteArrayView kName = "NAME=";
const QByteArrayView kUrl = "URL=";
const QByteArrayView kDescription = "DESCRIPTION=";

// Line breaks inside a text are written as 0x02 characters, two a break as that
// browser writes them, and one more for a run of breaks that are all CR LF: a run
// of n reads back as n / 2 line feeds when n is even, as (n - 1) / 2 CR LF when it
// is odd. So "a\n\nb" is written "a" 0x02 0x02 0x02 0x02 "b", and "a\r\nb" with
// three; texts from the browser, and those typed here, keep the pairs it reads.

// Control characters other than tab never reach the catalogue (0x02 included);
// within a run of line breaks they are passed over, so that the run reads as the
// writer wrote it.
bool IsControl(QChar c)
{
    return c.unicode() < 32 && c != u'\t';
}

bool IsLineBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

QString ReadLineBreaks(QStringView value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size();) {
        if (!IsControl(value[i])) {
            text += value[i++];
            continue;
        }
        qsizetype count = 0;
        for (; i < value.size() && IsControl(value[i]); ++i)
            count += value[i] == u'\x02';
        text += (count % 2 ? QStringLiteral("\r\n") : QStringLiteral("\n")).repeated(count / 2);
    }
    return text;
}

// The value of a key line: the text after the key. The whole line is decoded:
// decoding the value alone would drop a byte-order mark at its start.
QString KeyValue(QByteArrayView line, QByteArrayView key)
{
    const QString value = DecodeUtf8OrAnsi(line).sliced(key.size());
    if (std::none_of(value.begin(), value.end(), IsControl))
        return value;
    return ReadLineBreaks(value);
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
        m_untrimmed = raw.sliced(m_line.data() - raw.data());
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
                // Up to the line's end: a description may end in blanks or breaks.
                block.description = KeyValue(m_untrimmed, kDescription);
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
        bookmark->SetDescription(block.description);
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
    QByteArrayView m_untrimmed; // m_line with what followed it on the line
    TFolder *m_current;
    TFolder *m_loose = nullptr;
};

// Appends the run of line breaks that starts at value[at]; at moves past it.
void AppendLineBreaks(TLineWriter &lines, QStringView value, qsizetype &at)
{
    qsizetype breaks = 0;
    bool allCrLf = true;
    while (at < value.size() && IsControl(value[at])) {
        if (!IsLineBreak(value[at])) {
            ++at;
            continue;
        }
        const bool crLf = value[at] == u'\r' && at + 1 < value.size() && value[at + 1] == u'\n';
        allCrLf = allCrLf && crLf;
        at += crLf ? 2 : 1;
        ++breaks;
    }
    const QByteArray marks(2 * breaks + (breaks && allCrLf ? 1 : 0), '\x02');
    lines.Append(QLatin1StringView(marks));
}

// Control characters other than tab and the line breaks are left out: they could
// not be read back, and 0x02 would read as a line break.
void AppendKeyLine(TLineWriter &lines, QLatin1StringView key, QStringView value)
{
    lines.Append(key);
    qsizetype run = 0;
    for (qsizetype i = 0; i < value.size();) {
        if (!IsControl(value[i])) {
            ++i;
            continue;
        }
        lines.Append(value.sliced(run, i - run));
        if (IsLineBreak(value[i]))
            AppendLineBreaks(lines, value, i);
        else
            ++i;
        run = i;
    }
    lines.Append(value.sliced(run));
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
