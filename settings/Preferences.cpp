#include "settings/Preferences.h"

TPreferences::TPreferences() : m_rec(std::make_unique<TPreferencesRec>())
{
    SetDefaults();
}

TPreferences::~TPreferences() = default;

void TPreferences::SetDefaults() {}
void TPreferences::LoadFromFile(const QString &) {}
void TPreferences::SaveToFile(const QString &) const {}
