#include "settings/Preferences.h"
#include "platform/IniFile.h"
#include "platform/UserFolders.h"

#include <variant>

namespace {

using Rec = TPreferencesRec;

// Marks the find history's place among the entries (its ten keys are made in code).
struct HistoryKeys
{
};

struct Entry
{
    const char *section;
    const char *key;
    std::variant<int Rec::*, bool Rec::*, QString Rec::*, quint8 Rec::*, HistoryKeys> field;
    // The default: a number (flags 0 or 1), or a text; none for the defaults that
    // depend on the user's folders, which SetDefaults computes.
    int number = 0;
    const char *text = nullptr;
};

const char kMainForm[] = "MainForm";
const char kHtmlForm[] = "HTMLGeneratorForm";
const char kFindForm[] = "FindForm";
const char kOther[] = "Other";
const char kHistoryKey[] = "LastString";

// Every setting in the order it is written, with its default. The reads are
// independent of each other, so loading in the same order gives the same result.
const Entry kEntries[] = {
    {kMainForm, "Top", &Rec::Top, 100},
    {kMainForm, "Left", &Rec::Left, 100},
    {kMainForm, "Width", &Rec::Width, 679},
    {kMainForm, "Height", &Rec::Height, 500},
    {kMainForm, "Maximized", &Rec::Maximized, 0},
    {kMainForm, "TreeWidth", &Rec::TreeWidth, 200},
    {kMainForm, "DescrPaneHeight", &Rec::DescrPaneHeight, 100},
    {kMainForm, "TitleColumnWidth", &Rec::TitleColumnWidth, 150},
    {kMainForm, "AddressColumnWidth", &Rec::AddressColumnWidth, 150},
    {kMainForm, "LastVisitColumnWidth", &Rec::LastVisitColumnWidth, 80},
    {kMainForm, "AddDateColumnWidth", &Rec::AddDateColumnWidth, 80},
    {kMainForm, "ShowToolbar", &Rec::ShowToolbar, 1},
    {kMainForm, "ShowStatusbar", &Rec::ShowStatusbar, 1},
    {kMainForm, "SortType", &Rec::SortType, 0},
    {kMainForm, "ReversedSort", &Rec::ReversedSort, 0},
    {"PreferencesForm", "GroupIndex", &Rec::GroupIndex, 0},
    {"PreferencesForm", "ButtonIndex", &Rec::ButtonIndex, 0},
    {"General", "LoadOnWindowsStartup", &Rec::LoadOnWindowsStartup, 0},
    {"General", "ShowIconInTray", &Rec::ShowIconInTray, 1},
    {"General", "HideToTrayOnMinimizing", &Rec::HideToTrayOnMinimizing, 1},
    {"General", "ConfirmDeletingItems", &Rec::ConfirmDeletingItems, 1},
    {"General", "AutoSaveEvery", &Rec::AutoSaveEvery, 0},
    {"General", "AutoSaveInterval", &Rec::AutoSaveInterval, 15},
    {"Start/Exit", "StartMinimized", &Rec::StartMinimized, 0},
    {"Start/Exit", "AotoSaveOnExit", &Rec::AotoSaveOnExit, 0},
    {"Language", "LanguageFile", &Rec::LanguageFile, 0, ""},
    {kHtmlForm, "TitleText", &Rec::TitleText, 0, "Title"},
    {kHtmlForm, "WelcomeHeader", &Rec::WelcomeHeader, 0, "Header"},
    {kHtmlForm, "WelcomeMessage", &Rec::WelcomeMessage, 0, "Welcome Message"},
    {kHtmlForm, "TextColor", &Rec::TextColor, 0},
    {kHtmlForm, "BackgroundColor", &Rec::BackgroundColor, 0xC0DCC0},
    {kHtmlForm, "HeaderAreaColor", &Rec::HeaderAreaColor, 0xE1FFFF},
    {kHtmlForm, "WelcomeAreaColor", &Rec::WelcomeAreaColor, 0xF0FBFF},
    {kHtmlForm, "BookmarkArea1Color", &Rec::BookmarkArea1Color, 0xF0CAA6},
    {kHtmlForm, "BookmarkArea2Color", &Rec::BookmarkArea2Color, 0xF9E8D9},
    {kHtmlForm, "GenerateFromSelFolder", &Rec::GenerateFromSelFolder, 0},
    {kHtmlForm, "HTMLFile", &Rec::HTMLFile, 0, "c:\\bookmarks"},
    {kFindForm, kHistoryKey, HistoryKeys{}},
    {kOther, "Varnokel1Bookmarks", &Rec::Varnokel1Bookmarks},
    {kOther, "IEFavoritesLocation", &Rec::IEFavoritesLocation},
    {kOther, "FirefoxBookmarksLocation", &Rec::FirefoxBookmarksLocation},
    {kOther, "OperaHotlistLocation", &Rec::OperaHotlistLocation},
};

// Far more than every setting with a full find history takes: a larger file is no
// settings file of ours, and reads as absent (and is not overwritten at close).
constexpr qint64 kLargestPreferencesFile = 16 * 1024 * 1024;

// The highest sort mode: 0 stored order ... 4 add date.
constexpr int kMaxSortType = 4;

QString HistoryKey(size_t index)
{
    return QLatin1String(kHistoryKey) + QString::number(index);
}

void LoadEntry(const IniFile &ini, const Entry &entry, Rec &rec)
{
    const QString section = QLatin1String(entry.section);
    const QString key = QLatin1String(entry.key);
    if (auto field = std::get_if<int Rec::*>(&entry.field)) {
        rec.*(*field) = ini.ReadInteger(section, key, rec.*(*field));
    } else if (auto flag = std::get_if<bool Rec::*>(&entry.field)) {
        rec.*(*flag) = ini.ReadBool(section, key, rec.*(*flag));
    } else if (auto text = std::get_if<QString Rec::*>(&entry.field)) {
        rec.*(*text) = ini.ReadString(section, key, rec.*(*text));
    } else if (auto sort = std::get_if<quint8 Rec::*>(&entry.field)) {
        // Read with 0 as default, not the current value; only a valid mode is kept.
        const int value = ini.ReadInteger(section, key, 0);
        if (value >= 0 && value <= kMaxSortType)
            rec.*(*sort) = quint8(value);
    } else {
        for (size_t i = 0; i < rec.LastString.size(); ++i)
            rec.LastString[i] = ini.ReadString(section, HistoryKey(i), rec.LastString[i]);
    }
}

void SetDefaultEntry(const Entry &entry, Rec &rec)
{
    if (auto field = std::get_if<int Rec::*>(&entry.field))
        rec.*(*field) = entry.number;
    else if (auto flag = std::get_if<bool Rec::*>(&entry.field))
        rec.*(*flag) = entry.number != 0;
    else if (auto sort = std::get_if<quint8 Rec::*>(&entry.field))
        rec.*(*sort) = quint8(entry.number);
    else if (auto text = std::get_if<QString Rec::*>(&entry.field); text && entry.text)
        rec.*(*text) = QString::fromLatin1(entry.text);
}

void SaveEntry(IniFile &ini, const Entry &entry, const Rec &rec)
{
    const QString section = QLatin1String(entry.section);
    const QString key = QLatin1String(entry.key);
    if (auto field = std::get_if<int Rec::*>(&entry.field)) {
        ini.WriteInteger(section, key, rec.*(*field));
    } else if (auto flag = std::get_if<bool Rec::*>(&entry.field)) {
        ini.WriteBool(section, key, rec.*(*flag));
    } else if (auto text = std::get_if<QString Rec::*>(&entry.field)) {
        ini.WriteString(section, key, rec.*(*text));
    } else if (auto sort = std::get_if<quint8 Rec::*>(&entry.field)) {
        ini.WriteInteger(section, key, rec.*(*sort));
    } else {
        for (size_t i = 0; i < rec.LastString.size(); ++i)
            ini.WriteString(section, HistoryKey(i), rec.LastString[i]);
    }
}

// Firefox keeps its profiles in "profiles.ini"; only Profile0's Path is read, and it
// stays as it is (relative paths use "/" here already). Nothing when the file is
// missing, no regular file or larger than IniFile::kLargestFile; a missing Path
// leaves two separators in a row.
void SetFirefoxDefault(Rec &rec)
{
    const QString folder = FirefoxFolder();
    const IniFile ini(folder + QStringLiteral("/profiles.ini"));
    if (!ini.IsPresent())
        return;
    const QString path = ini.ReadString(QStringLiteral("Profile0"), QStringLiteral("Path"),
                                        QString());
    rec.FirefoxBookmarksLocation = folder + u'/' + path + QStringLiteral("/bookmarks.html");
}

} // namespace

TPreferences::TPreferences() : m_rec(std::make_unique<TPreferencesRec>())
{
    SetDefaults();
}

TPreferences::~TPreferences() = default;

void TPreferences::SetDefaults()
{
    TPreferencesRec &rec = *m_rec;
    for (const Entry &entry : kEntries)
        SetDefaultEntry(entry, rec); // the find history is kept
    rec.Varnokel1Bookmarks = ProgramFilesFolder() + QStringLiteral("/Varnokel/RefLib");
    rec.IEFavoritesLocation = FavoritesFolder();
    SetFirefoxDefault(rec);
    rec.OperaHotlistLocation = OperaHotlistFile();
}

void TPreferences::LoadFromFile(const QString &fileName)
{
    const IniFile ini(fileName, IniFile::Mode::WriteThrough, kLargestPreferencesFile);
    for (const Entry &entry : kEntries)
        LoadEntry(ini, entry, *m_rec);
}

void TPreferences::SaveToFile(const QString &fileName) const
{
    // All keys go to the disk in one atomic replace: a failure leaves the old file.
    IniFile ini(fileName, IniFile::Mode::Buffered, kLargestPreferencesFile);
    for (const Entry &entry : kEntries)
        SaveEntry(ini, entry, *m_rec);
    ini.UpdateFile();
}
