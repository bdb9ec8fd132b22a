// How a name taken from the screen (a list row, a browser's address) finds
// the stored line it stands for, the one rule of every such lookup:
//
// - the line whose name is the wanted name exactly wins (the first such line
//   when the name stands twice);
// - without an exact one, a line whose name equals it with ASCII letter case
//   ignored is taken only when it is the only such name (so a row that the
//   extension search lower-cased still finds its line);
// - two or more names that differ from the wanted one and from each other
//   only in letter case, and none exact, make the lookup ambiguous: the
//   command refuses with ambiguousNameMessage rather than guess.
//
// Lines that spell one name alike are one candidate. A row that the
// extension search lower-cased whole ("e:\docs\a.txt[3]") is no exact
// spelling of any line, its drive letter included.
//
// NameLookup resolves many wanted names in one pass over the stored names;
// chooseFileLines applies it to the file lines of an index text, a file line
// matching by its path and, where the name comes with one, its size.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/index_line.h"
#include "platform/files/paths.h"

namespace catalogue {

enum class NameMatch { None, Found, Ambiguous };

// The message of a command that refuses a name it cannot tell apart from
// another one: the text and the name.
inline constexpr std::string_view AmbiguousNameText = platform::files::AmbiguousNameText;
std::string ambiguousNameMessage(std::string_view name);

// The choice for one wanted name.
struct NameChoice {
    NameMatch match = NameMatch::None;
    std::size_t position = 0;  // the chosen name's position as offered (Found only)
};

// Many wanted names, resolved in one pass: want() each name, offer() every
// stored name in order with its position, then read choice(). The cost is
// one hash look-up per offered name, whatever the number of wanted names.
class NameLookup {
  public:
    // Adds a wanted name; the result numbers it for choice(). A name wanted
    // twice is resolved once.
    std::size_t want(std::string_view name);
    bool empty() const { return wanted_.empty(); }

    // One stored name at its position (positions increase).
    void offer(std::string_view name, std::size_t position);

    // True when every wanted name has its exact match: no later name can
    // change a choice.
    bool settled() const { return unsettled_ == 0; }

    NameChoice choice(std::size_t wanted) const;

  private:
    // The stored names that equal one another with letter case ignored.
    struct Group {
        bool any = false;
        bool several = false;     // two different spellings were offered
        std::string first;        // the first spelling offered
        std::size_t firstAt = 0;  // and its position
        // The wanted spellings and the position of each one's first exact match.
        std::unordered_map<std::string, std::optional<std::size_t>> exact;
    };
    struct Wanted {
        std::size_t group;
        std::string spelling;
    };
    std::unordered_map<std::string, std::size_t> groupOf_;  // folded name -> group
    std::vector<Group> groups_;
    std::vector<Wanted> wanted_;
    std::size_t unsettled_ = 0;
};

// A file wanted by a command: its path as the index spells it and, where the
// row shows one, its size token ("" matches any size).
struct WantedFile {
    std::string path;
    std::string sizeText;
};

// The file line chosen for a wanted file.
struct ChosenFileLine {
    NameMatch match = NameMatch::None;
    std::size_t begin = 0;       // the line's first character in the text
    std::size_t contentEnd = 0;  // where its content ends: its break, or the text's end
    std::size_t end = 0;         // after its break
    IndexFileLine line;          // the line read (Found only)
    explicit operator bool() const { return match == NameMatch::Found; }
};

// The file line of each wanted file, in one pass over an index text (UTF-8;
// lines end at CR LF, a lone LF or a lone CR; a last line may have no break).
// Only file lines are candidates, read through the index-line grammar, so a
// line whose path merely begins with the wanted one ("a.txt.bak", the files
// of a folder "a.txt") is never it; marks and mirror suffixes are not
// compared.
std::vector<ChosenFileLine> chooseFileLines(std::string_view indexText,
                                            const std::vector<WantedFile>& wanted);
ChosenFileLine chooseFileLine(std::string_view indexText, const WantedFile& wanted);

}  // namespace catalogue
