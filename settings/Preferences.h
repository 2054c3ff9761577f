#pragma once
// The settings of the program: TPreferencesRec holds every setting as a public
// field named after its key in "preferences.ini"; TPreferences owns the one record,
// sets the defaults and loads it from and saves it to the file. The record is never
// replaced: Rec() returns the same object for the whole life of TPreferences.

#include <QString>

#include <array>
#include <memory>

// Every field starts at 0 / false / empty; TPreferences applies the defaults of its
// key table. Colours are 0x00BBGGRR (red in the low byte).
class TPreferencesRec
{
public:
    // [MainForm]
    int Top = 0;
    int Left = 0;
    int Width = 0;
    int Height = 0;
    bool Maximized = false;
    int TreeWidth = 0;
    int DescrPaneHeight = 0;
    int TitleColumnWidth = 0;
    int AddressColumnWidth = 0;
    int LastVisitColumnWidth = 0;
    int AddDateColumnWidth = 0;
    bool ShowToolbar = false;
    bool ShowStatusbar = false;
    quint8 SortType = 0; // 0 stored order, 1 title, 2 address, 3 last visit, 4 add date
    bool ReversedSort = false;
    // [PreferencesForm]
    int GroupIndex = 0;
    int ButtonIndex = 0;
    // [General]
    bool LoadOnWindowsStartup = false;
    bool ShowIconInTray = false;
    bool HideToTrayOnMinimizing = false;
    bool ConfirmDeletingItems = false;
    bool AutoSaveEvery = false;
    int AutoSaveInterval = 0; // minutes
    // [Start/Exit]
    bool StartMinimized = false;
    bool AotoSaveOnExit = false; // the key is spelled so
    // [Language]
    QString LanguageFile; // empty: the built-in English texts
    // [HTMLGeneratorForm]
    QString TitleText;
    QString WelcomeHeader;
    QString WelcomeMessage;
    int TextColor = 0;
    int BackgroundColor = 0;
    int HeaderAreaColor = 0;
    int WelcomeAreaColor = 0;
    int BookmarkArea1Color = 0;
    int BookmarkArea2Color = 0;
    bool GenerateFromSelFolder = false;
    QString HTMLFile;
    // [FindForm] keys "LastString0".."LastString9"; entry 0 the most recent.
    // Not touched by SetDefaults.
    std::array<QString, 10> LastString;
    // [Other]
    QString Varnokel1Bookmarks;
    QString IEFavoritesLocation;
    // Default: "bookmarks.html" in the folder of Firefox's first profile (Profile0 in
    // its "profiles.ini"); SetDefaults leaves it as it is without "profiles.ini".
    QString FirefoxBookmarksLocation;
    QString OperaHotlistLocation;

    bool operator==(const TPreferencesRec &) const = default;
};

class TPreferences
{
public:
    // Creates the record and applies SetDefaults.
    TPreferences();
    ~TPreferences();
    TPreferences(const TPreferences &) = delete;
    TPreferences &operator=(const TPreferences &) = delete;

    TPreferencesRec &Rec() { return *m_rec; }
    const TPreferencesRec &Rec() const { return *m_rec; }

    // Every field with a default gets it; the find history is left alone and
    // FirefoxBookmarksLocation is set only when Firefox's "profiles.ini" is a
    // regular file of at most 4 MiB.
    void SetDefaults();
    // Keys absent from the file (or the whole file) leave their fields as they are.
    // Only a regular file of at most 16 MiB is read: anything else reads as absent.
    void LoadFromFile(const QString &fileName);
    // Writes every setting, keeping the file's other keys, sections and lines;
    // the file is replaced atomically, so a failure leaves the old one intact
    // and raises "Unable to write to %s", as it does rather than replace a file
    // that exists but could not be read.
    void SaveToFile(const QString &fileName) const;

private:
    std::unique_ptr<TPreferencesRec> m_rec;
};
