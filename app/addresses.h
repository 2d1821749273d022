// Where the help menu and the about box send the user: the maker's help
// page and home page on the web, and its support mail address. Reserved
// placeholder names until the program has real ones.
#pragma once

inline constexpr const char16_t* HelpPageAddress = u"https://www.velqua.example/help/";
inline constexpr const char16_t* HomePageAddress = u"https://www.velqua.example/";
inline constexpr const char16_t* SupportMailAddress = u"support@velqua.example";
// What the mail link opens.
inline constexpr const char16_t* SupportMailLink = u"mailto:support@velqua.example";
