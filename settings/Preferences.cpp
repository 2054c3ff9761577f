#include "settings/Preferences.h"
#include "platform/IniFile.h"
#include "platform/UserFolders.h"

#include <QFileInfo>

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
};

const char kMainForm[] = "MainForm";
const char kHtmlForm[] = "HTMLGeneratorForm";
const char kFindForm[] = "FindForm";
const char kOther[] = "Other";
const char kHistoryKey[] = "LastString";

// Every setting in the order it is written. The reads are independent of each
// other, so loading in the same order gives the same result.
const Entry kEntries[] = {
    {kMainForm, "Top", &Rec::Top},
    {kMainForm, "Left", &Rec::Left},
    {kMainForm, "Width", &Rec::Width},
    {kMainForm, "Height", &Rec::Height},
    {kMainForm, "Maximized", &Rec::Maximized},
    {kMainForm, "TreeWidth", &Rec::TreeWidth},
    {kMainForm, "DescrPaneHeight", &Rec::DescrPaneHeight},
    {kMainForm, "TitleColumnWidth", &Rec::TitleColumnWidth},
    {kMainForm, "AddressColumnWidth", &Rec::AddressColumnWidth},
    {kMainForm, "LastVisitColumnWidth", &Rec::LastVisitColumnWidth},
    {kMainForm, "AddDateColumnWidth", &Rec::AddDateColumnWidth},
    {kMainForm, "ShowToolbar", &Rec::ShowToolbar},
    {kMainForm, "ShowStatusbar", &Rec::ShowStatusbar},
    {kMainForm, "SortType", &Rec::SortType},
    {kMainForm, "ReversedSort", &Rec::ReversedSort},
    {"PreferencesForm", "GroupIndex", &Rec::GroupIndex},
    {"PreferencesForm", "ButtonIndex", &Rec::ButtonIndex},
    {"General", "LoadOnWindowsStartup", &Rec::LoadOnWindowsStartup},
    {"General", "ShowIconInTray", &Rec::ShowIconInTray},
    {"General", "HideToTrayOnMinimizing", &Rec::HideToTrayOnMinimizing},
    {"General", "ConfirmDeletingItems", &Rec::ConfirmDeletingItems},
    {"General", "AutoSaveEvery", &Rec::AutoSaveEvery},
    {"General", "AutoSaveInterval", &Rec::AutoSaveInterval},
    {"Start/Exit", "StartMinimized", &Rec::StartMinimized},
    {"Start/Exit", "AotoSaveOnExit", &Rec::AotoSaveOnExit},
    {"Language", "LanguageFile", &Rec::LanguageFile},
    {kHtmlForm, "TitleText", &Rec::TitleText},
    {kHtmlForm, "WelcomeHeader", &Rec::WelcomeHeader},
    {kHtmlForm, "WelcomeMessage", &Rec::WelcomeMessage},
    {kHtmlForm, "TextColor", &Rec::TextColor},
    {kHtmlForm, "BackgroundColor", &Rec::BackgroundColor},
    {kHtmlForm, "HeaderAreaColor", &Rec::HeaderAreaColor},
    {kHtmlForm, "WelcomeAreaColor", &Rec::WelcomeAreaColor},
    {kHtmlForm, "BookmarkArea1Color", &Rec::BookmarkArea1Color},
    {kHtmlForm, "BookmarkArea2Color", &Rec::BookmarkArea2Color},
    {kHtmlForm, "GenerateFromSelFolder", &Rec::GenerateFromSelFolder},
    {kHtmlForm, "HTMLFile", &Rec::HTMLFile},
    {kFindForm, kHistoryKey, HistoryKeys{}},
    {kOther, "Varnokel1Bookmarks", &Rec::Varnokel1Bookmarks},
    {kOther, "IEFavoritesLocation", &Rec::IEFavoritesLocation},
    {kOther, "FirefoxBookmarksLocation", &Rec::FirefoxBookmarksLocation},
    {kOther, "OperaHotlistLocation", &Rec::OperaHotlistLocation},
};

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

void SetGeneratorDefaults(Rec &rec)
{
    rec.TitleText = QStringLiteral("Title");
    rec.WelcomeHeader = QStringLiteral("Header");
    rec.WelcomeMessage = QStringLiteral("Welcome Message");
    rec.TextColor = 0;
    rec.BackgroundColor = 0xC0DCC0;
    rec.HeaderAreaColor = 0xE1FFFF;
    rec.WelcomeAreaColor = 0xF0FBFF;
    rec.BookmarkArea1Color = 0xF0CAA6;
    rec.BookmarkArea2Color = 0xF9E8D9;
    rec.GenerateFromSelFolder = false;
    rec.HTMLFile = QStringLiteral("c:\\bookmarks");
}

// Firefox keeps its profiles in "profiles.ini"; only Profile0's Path is read, and it
// stays as it is (relative paths use "/" here already). Nothing when the file is
// missing; a missing Path leaves two separators in a row.
void SetFirefoxDefault(Rec &rec)
{
    const QString folder = FirefoxFolder();
    const QString profiles = folder + QStringLiteral("/profiles.ini");
    if (!QFileInfo(profiles).isFile())
        return;
    const IniFile ini(profiles);
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
    rec.Top = 100;
    rec.Left = 100;
    rec.Width = 679;
    rec.Height = 500;
    rec.Maximized = false;
    rec.TreeWidth = 200;
    rec.DescrPaneHeight = 100;
    rec.TitleColumnWidth = 150;
    rec.AddressColumnWidth = 150;
    rec.LastVisitColumnWidth = 80;
    rec.AddDateColumnWidth = 80;
    rec.ShowToolbar = true;
    rec.ShowStatusbar = true;
    rec.SortType = 0;
    rec.ReversedSort = false;
    rec.GroupIndex = 0;
    rec.ButtonIndex = 0;
    rec.LoadOnWindowsStartup = false;
    rec.ShowIconInTray = true;
    rec.HideToTrayOnMinimizing = true;
    rec.ConfirmDeletingItems = true;
    rec.AutoSaveEvery = false;
    rec.AutoSaveInterval = 15;
    rec.StartMinimized = false;
    rec.AotoSaveOnExit = false;
    rec.LanguageFile.clear();
    SetGeneratorDefaults(rec);
    rec.Varnokel1Bookmarks = ProgramFilesFolder() + QStringLiteral("/Varnokel/RefLib");
    rec.IEFavoritesLocation = FavoritesFolder();
    SetFirefoxDefault(rec);
    rec.OperaHotlistLocation = OperaHotlistFile();
}

void TPreferences::LoadFromFile(const QString &fileName)
{
    const IniFile ini(fileName);
    for (const Entry &entry : kEntries)
        LoadEntry(ini, entry, *m_rec);
}

void TPreferences::SaveToFile(const QString &fileName) const
{
    // All keys go to the disk in one atomic replace: a failure leaves the old file.
    IniFile ini(fileName, IniFile::Mode::Buffered);
    for (const Entry &entry : kEntries)
        SaveEntry(ini, entry, *m_rec);
    ini.UpdateFile();
}
