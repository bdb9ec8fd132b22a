// The mirror copy of the file selected in the disc page's file list, as the
// commands that open and delete mirror copies look it up: the row's path
// built from the tree's names and the row's own name and size
// (discpage::rowFile), its own line in the open disc's index (the whole path,
// never a line that merely holds it; chosen as catalogue/name_lookup.h says),
// and the mirror path that line records, accepted only when a copy run could
// have written it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "catalogue/name_lookup.h"

class Form1;

namespace copies {

// The message for a recorded mirror path that no copy run writes (an imported
// or hand-edited index): nothing is opened or deleted.
std::string refusedMirrorPathMessage(std::string_view mirrorPath);

struct MirroredRow {
    std::string indexFile;  // the disc's index file
    std::string indexText;  // its text, read whole
    catalogue::ChosenFileLine found;
    std::string mirrorPath;  // the recorded copy
    std::string copyFolder;  // the folder its copy run wrote it into
};

// The selected row's file and its mirror copy. Nothing when the tree path
// holds no scan drive (ASCII letter case ignored), the index holds no line of
// the file or the line no mirror suffix; nothing either when the index cannot
// be read, several lines spell the file alike but for letter case and none
// exactly, or the mirror path is refused, which are told.
std::optional<MirroredRow> selectedMirroredRow(Form1& form);

}  // namespace copies
