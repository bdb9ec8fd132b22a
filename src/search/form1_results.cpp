// The result list's own events and its tick-all command:
// - a click on a row empties the file list and highlights the row's disc in
//   the tree on show (the disc is not opened);
// - a click on a row's check box ticks or unticks the row's file: one tick
//   mark more on the file's line in its disc's index, whichever way the box
//   went; rows that name no file line that can take a mark (remark rows,
//   folders, files with a mirror copy, lines no longer in the index, and,
//   told, a file the index spells several ways but for letter case, none of
//   them the row's) keep their box as the index has it and nothing is written;
// - the right button shows the list's pop-up menu pop5 at the pointer, with
//   its remark item enabled only over the rows of a search of notes;
// - "为所有的查询结果打勾" ticks every listed file whose line is not ticked,
//   reading and rewriting each disc's index once, however many rows it has.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalogue/disc_trees.h"
#include "catalogue/index_line.h"
#include "catalogue/name_lookup.h"
#include "catalogue/scan_command.h"
#include "discpage/disc_file_path.h"
#include "mainwindow/form1.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/ui/throttled_text.h"
#include "platform/ui/ui.h"
#include "search/result_rows.h"
#include "search/result_ticks.h"

namespace {

namespace files = platform::files;
using search::ResultLayout;

constexpr std::string_view NoResults = "无查询结果！";
constexpr std::string_view CannotSave = "不能保存文件: ";
constexpr std::string_view ProgramCaption = "Zelbrin";

// A disc's index file read whole, or nothing when it cannot be read (a disc
// without index, a name that cannot be a file's): then nothing is written.
struct IndexText {
    std::string path;
    std::string text;
};
std::optional<IndexText> readIndex(const Form1& form, const std::string& disc) {
    try {
        IndexText index;
        index.path = catalogue::discIndexFilePath(form.app().ProgramFolder, disc);
        index.text = files::WholeFileRead(index.path);
        return index;
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

// Writes an index back; false (told) when it could not be written.
bool writeIndex(Form1& form, const IndexText& index, const std::string& text) {
    try {
        discpage::rewriteDiscFile(form.app().ProgramFolder, index.path, text);
        return true;
    } catch (const platform::Error& e) {
        form.ui().msgBox(std::string(CannotSave) + index.path + e.description(),
                         platform::MsgButtons::OK, catalogue::TipTitle);
        return false;
    }
}

// A row whose file the index spells several ways but for letter case.
void tellAmbiguous(Form1& form, std::string_view name) {
    form.ui().msgBox(catalogue::ambiguousNameMessage(name), platform::MsgButtons::OK,
                     catalogue::TipTitle);
}

// The row's path column with one mark more, as its line has.
void appendMark(platform::ListItem& row, ResultLayout layout) {
    const int column = search::resultPathColumn(layout);
    row.setSubItem(column, row.subItem(column) + std::string(catalogue::TickMark));
}

// The rows of one disc, in list order.
struct DiscRows {
    std::string disc;
    std::vector<platform::ListItem*> rows;
};

std::vector<DiscRows> rowsByDisc(const platform::ListView& list) {
    std::vector<DiscRows> groups;
    std::unordered_map<std::string, std::size_t> groupOf;
    for (const auto& row : list.items()) {
        const auto [it, added] = groupOf.try_emplace(row->text(), groups.size());
        if (added) groups.push_back({row->text(), {}});
        groups[it->second].rows.push_back(row.get());
    }
    return groups;
}

}  // namespace

void Form1::ListView2_ItemClick(platform::ListItem& Item) {
    ListView1.clear();
    // Only highlighted: selecting by code opens nothing.
    const std::string key = catalogue::treeNodeKey(Item.text());
    if (TreeView1.visible()) {
        if (platform::Node* disc = TreeView1.find(key)) TreeView1.setSelectedItem(disc);
    }
    if (TreeView2.visible()) {
        if (platform::Node* disc = TreeView2.find(key)) TreeView2.setSelectedItem(disc);
    }
    if ((TreeView1.visible() || TreeView1WasVisible) && Toolbar1.button("preview").value() == 1) {
        ResultCursor = Item.index();
        findPreview();
    }
}

void Form1::ListView2_ItemCheck(platform::ListItem& Item) {
    const ResultLayout layout = search::resultLayout(ListView2);
    const std::string key = search::resultRowKey(layout, Item);
    // Remark rows and the notes of folders name no file.
    if (layout == ResultLayout::Remark ||
        (layout == ResultLayout::Note && search::isFolderNoteKey(key))) {
        Item.setChecked(false);
        return;
    }
    const bool before = !Item.checked();
    const std::optional<IndexText> index = readIndex(*this, Item.text());
    const search::ResultLookup found =
        index ? search::findResultLine(index->text, layout, key, catalogue::isHardDisc(Item.text()))
              : search::ResultLookup{};
    if (!found) {
        Item.setChecked(before);
        if (found.match == catalogue::NameMatch::Ambiguous) tellAmbiguous(*this, found.name);
        return;
    }
    const search::ResultLine* line = &found.line;
    // A folder takes no tick; a file with a mirror copy stays ticked.
    if (line->folder || line->mirrored) {
        Item.setChecked(!line->folder);
        return;
    }
    if (!writeIndex(*this, *index, search::addTickMarks(index->text, {line->contentEnd}))) {
        Item.setChecked(before);
        return;
    }
    appendMark(Item, layout);
    // The box shows what the line now holds.
    Item.setChecked(!line->ticked());
}

void Form1::ListView2_MouseDown(int Button, int Shift, double X, double Y) {
    (void)Shift;
    // Judged before the menu opens: only a search of notes lists notes.
    addnotes111.setEnabled(search::resultLayout(ListView2) == ResultLayout::Note);
    if (Button != platform::RightButton) return;
    popupMenu(pop5, ListView2.left() + X, ListView2.top() + Y);
}

void Form1::tagfind1_Click() {
    if (ListView2.visible() && ListView2.count() > 0) return tagfind_Click();
    ui().msgBox(NoResults, platform::MsgButtons::OK, catalogue::TipTitle);
}

void Form1::tagfind_Click() {
    platform::BusyPointer busy(*this);
    const ResultLayout layout = search::resultLayout(ListView2);
    if (layout == ResultLayout::Remark) {
        // Remark rows name no file.
        if (ListView2.count() > 0) ListView2.item(1).setChecked(false);
        return;
    }
    const std::size_t total = static_cast<std::size_t>(ListView2.count());
    std::size_t done = 0;
    std::string ambiguous;
    platform::ThrottledText progress([this](const std::string& caption) {
        setCaption(caption);
        ui().flush();
    });
    auto rowDone = [&] {
        ++done;
        progress.update(std::to_string(done) + "/" + std::to_string(total));
    };

    for (const DiscRows& group : rowsByDisc(ListView2)) {
        std::vector<std::string> keys;
        keys.reserve(group.rows.size());
        for (platform::ListItem* row : group.rows) {
            keys.push_back(search::resultRowKey(layout, *row));
            // A folder's note names no file: its box is cleared.
            if (layout == ResultLayout::Note && search::isFolderNoteKey(keys.back()))
                row->setChecked(false);
        }
        // A disc without a readable index is passed over; none is made.
        const std::optional<IndexText> index = readIndex(*this, group.disc);
        if (!index) {
            for (std::size_t i = 0; i < group.rows.size(); ++i) rowDone();
            continue;
        }
        const std::vector<search::ResultLookup> lines =
            search::findResultLines(index->text, layout, keys, catalogue::isHardDisc(group.disc));

        // Each unticked line takes one mark, however many rows name it; a row
        // whose line is ticked already is shown ticked. Folders, files with a
        // mirror copy and rows without a line stay as they are.
        std::unordered_set<std::size_t> marked;
        std::vector<std::size_t> marks;
        std::vector<platform::ListItem*> newlyTicked;
        std::vector<platform::ListItem*> alreadyTicked;
        for (std::size_t i = 0; i < group.rows.size(); ++i) {
            rowDone();
            if (lines[i].match == catalogue::NameMatch::Ambiguous && ambiguous.empty())
                ambiguous = lines[i].name;
            if (!lines[i]) continue;
            const search::ResultLine* line = &lines[i].line;
            if (line->folder || line->mirrored) continue;
            if (line->ticked() || marked.count(line->contentEnd) > 0) {
                alreadyTicked.push_back(group.rows[i]);
                continue;
            }
            marked.insert(line->contentEnd);
            marks.push_back(line->contentEnd);
            newlyTicked.push_back(group.rows[i]);
        }
        if (!marks.empty() &&
            !writeIndex(*this, *index, search::addTickMarks(index->text, std::move(marks))))
            continue;
        for (platform::ListItem* row : newlyTicked) {
            appendMark(*row, layout);
            row->setChecked(true);
        }
        for (platform::ListItem* row : alreadyTicked) row->setChecked(true);
    }
    progress.finish();
    setCaption(std::string(ProgramCaption));
    // Rows whose file the index spells several ways but for letter case took
    // no mark; the first is told.
    if (!ambiguous.empty()) {
        busy.end();
        tellAmbiguous(*this, ambiguous);
    }
}
