// The default page template: the texts, colours and size option every start
// of the program begins with. The texts are written character for character
// (attribute order, letter case, blanks and the unquoted _blank count): the
// template editor finds its places in them by their class names and replaces
// seven-character colour values beside them.
#pragma once

#include <string>
#include <string_view>

namespace webpages {

// The address of the program's home page, linked from the footer of every
// generated page.
inline constexpr std::string_view HomePageAddress = "http://www.zelbrin.example/";

// Part A: the page head and the opening of the file table.
extern const std::string_view DefaultPartA;
// The text block before the table and the header row of the table, which
// the template editor inserts into part A on request.
extern const std::string_view DefaultTextBlock;
extern const std::string_view DefaultHeaderRow;
// Part B: the row written once per listed entry.
extern const std::string_view DefaultPartB;
// Part C: the end of the table, the footer with the home-page link, the end
// of the page.
std::string defaultPartC(std::string_view homePageAddress = HomePageAddress);

inline constexpr std::string_view DefaultFolderColour = "#ff0000";
inline constexpr std::string_view DefaultFileColour = "#0000ff";

}  // namespace webpages
