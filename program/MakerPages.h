#pragma once
// The maker's pages and support mail: the one place to change them.

inline constexpr char kHomePage[] = "https://www.quorvane.example/varnokel/";
inline constexpr char kFAQPage[] = "https://www.quorvane.example/varnokel/faq/";
inline constexpr char kUpdatesPage[] =
    "https://www.quorvane.example/varnokel/updates/?version=2.0";
inline constexpr char kSupportMail[] =
    "mailto:support@quorvane.example?subject=Varnokel%20PRO%202.0";
