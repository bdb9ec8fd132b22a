// The program's web addresses, in one place: the home site and its pages,
// the author's mail address, and the download addresses of the author's other
// programs. The help menu and the about box open them with the shell.
#pragma once

#include <string_view>

namespace weblinks {

inline constexpr std::string_view Home = "https://zelbrin.example.com/";
inline constexpr std::string_view NewFunction = "https://zelbrin.example.com/newfun.html";
inline constexpr std::string_view Faq = "https://zelbrin.example.com/faq.htm";
// The friendly sites of the help menu's sub-menu, and the mail to the author.
inline constexpr std::string_view FriendLinks = "https://zelbrin.example.com/links.htm";
inline constexpr std::string_view SiteDefault = "https://zelbrin.example.com/default.htm";
inline constexpr std::string_view SiteNews = "https://zelbrin.example.com/news.htm";
inline constexpr std::string_view AuthorMail = "mailto:author@zelbrin.example.com";
// The author's other programs: two installers, then two archives.
inline constexpr std::string_view Soft1 =
    "https://zelbrin.example.com/download/discprint-setup.deb";
inline constexpr std::string_view Soft2 =
    "https://zelbrin.example.com/download/tagrename-setup.deb";
inline constexpr std::string_view Soft3 = "https://zelbrin.example.com/download/filecompare.tar.gz";
inline constexpr std::string_view Soft4 = "https://zelbrin.example.com/download/webalbum.tar.gz";
// The download page named when the software folder holds no new records.
inline constexpr std::string_view SoftwareDownload = "https://zelbrin.example.com/download.htm";
// The about box's three sites: the author's, a web directory, an e-book library.
inline constexpr std::string_view AboutSite = "https://zelbrin.example.com/";
inline constexpr std::string_view AboutDirectory = "https://directory.example.com/";
inline constexpr std::string_view AboutLibrary = "https://books.example.com/";

}  // namespace weblinks
