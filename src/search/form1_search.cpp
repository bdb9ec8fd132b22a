// The search command: the search options dialog, then one of four searches
// over the stored files, whose hits fill the result list ListView2 across the
// bottom of the window in the columns of that search:
// - the disc remarks of the catalogue file (every disc, whatever the location);
// - the remarks, respectively the usage notes, of the discs in the location;
// - the names in the index files of the discs in the location.
// The discs in the location are the disc nodes of the category tree, in node
// order, whose full path is the location or lies below it. A disc whose file
// is missing or cannot be read adds nothing; the search writes no file.
#include <array>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/index_line.h"
#include "catalogue/scan_command.h"
#include "discpage/note_file.h"
#include "mainwindow/form1.h"
#include "mainwindow/images.h"
#include "platform/controls/busy_pointer.h"
#include "platform/error.h"
#include "platform/files/text_file.h"
#include "platform/ui/throttled_text.h"
#include "platform/ui/ui.h"
#include "search/find_dialog.h"
#include "search/result_rows.h"
#include "search/search.h"

namespace {

constexpr std::string_view SoftwarePageRefusal = "搜索功能不能在软件页下使用!";
constexpr std::string_view NoRemarkFound = "在光盘备注中没有你找的内容！";
constexpr std::string_view NothingFound = "在光盘中没有你找的内容！";
constexpr std::string_view ProgramCaption = "Zelbrin";

// The result list's columns for one kind of search: key, text, width.
struct ResultColumn {
    std::string_view key;
    std::string_view text;
    double width;
};
using ResultLayout = std::array<ResultColumn, 3>;

constexpr ResultLayout RemarkResultLayout = {{
    {"光盘名", "光盘名", 2700},
    {"光盘序号", "序号", 550},
    {"备注", "备注", 11499},
}};
constexpr ResultLayout FileResultLayout = {{
    {"光盘名", "光盘名", 2700},
    {"光盘序号", "序号", 550},
    {"路径", "路径", 11499},
}};
// The note searches: the third column is titled by what was searched.
constexpr std::string_view RemarkHeading = "备注";
constexpr std::string_view UsageHeading = "使用情况";
ResultLayout noteResultLayout(std::string_view heading) {
    return {{{"光盘名", "光盘名", 2700}, {"路径", "路径", 4550}, {heading, heading, 7499}}};
}

// Empties the result list and gives it the columns of a search.
void setResultLayout(platform::ListView& list, const ResultLayout& layout) {
    list.clear();
    list.clearColumns();
    for (const ResultColumn& c : layout)
        list.addColumn(std::string(c.key), std::string(c.text), c.width);
}

// The status text of a search; no hit shows no number at all.
std::string hitCountText(int hits) {
    return "你已经查找到" + (hits > 0 ? std::to_string(hits) : std::string()) + "个匹配项目！";
}

// A disc node of the category tree in the location.
struct LocationDisc {
    std::string name;
    int nodeIndex;
};

// The disc nodes of the category tree whose full path lies in the location,
// in the order the nodes were added.
std::vector<LocationDisc> locationDiscs(const Form1& form) {
    const std::string prefix = search::locationPrefix(form.find_Location);
    std::vector<LocationDisc> discs;
    for (const auto& node : form.TreeView2.nodes())
        if (node->image() == images::Disc && search::locationTakes(node->fullPath(), prefix))
            discs.push_back({node->text(), node->index()});
    return discs;
}

// A result row: the disc's name with the disc image at the end of the list.
platform::ListItem& addRow(platform::ListView& list, const std::string& disc, std::string column2,
                           std::string column3, const std::string& key = {}) {
    platform::ListItem* row = nullptr;
    if (!key.empty()) {
        // A key the list refuses (in use, or all digits) leaves the row without one.
        try {
            row = &list.add(key, disc, images::Disc);
        } catch (const platform::Error&) {
        }
    }
    if (!row) row = &list.add({}, disc, images::Disc);
    row->setSubItem(1, std::move(column2));
    row->setSubItem(2, std::move(column3));
    return *row;
}

// One run of the command after the dialog was confirmed.
class SearchRun {
  public:
    SearchRun(Form1& form, search::Query query) : form_(form), query_(std::move(query)) {}

    // By the scope word, compared exactly; any other word searches nothing.
    void run() {
        const std::string& where = form_.find_Where;
        if (where == search::DiscRemarksScope)
            discRemarks();
        else if (where == search::UsageNotesScope)
            notes(discpage::UsageExtension, discpage::UsageMarker, UsageHeading);
        else if (where == search::FileRemarksScope)
            notes(discpage::NoteExtension, discpage::NoteMarker, RemarkHeading);
        else if (where == search::DiscFilesScope)
            discFiles();
    }

    // The normal pointer back (the tail of the command).
    void endBusy() { busy_.reset(); }

  private:
    bool caseSensitive() const { return form_.find_LCase; }
    platform::ListView& list() { return form_.ListView2; }
    void tell(std::string_view message) {
        form_.ui().msgBox(message, platform::MsgButtons::OK, catalogue::TipTitle);
    }
    void showHits() {
        form_.StatusBar1.panel(2).setText(hitCountText(hits_));
        form_.ShowResultList();
    }

    // The first term in the remark field of each disc line of the catalogue
    // file; the location, the operator and the second term play no part.
    void discRemarks() {
        setResultLayout(list(), RemarkResultLayout);
        std::string text;
        try {
            text = catalogue::readCatalogueText(
                catalogue::catalogueFilePath(form_.app().ProgramFolder));
        } catch (const platform::Error&) {
        }
        for (const search::RemarkHit& hit :
             search::searchDiscRemarks(text, query_.first, caseSensitive())) {
            addRow(list(), hit.disc, hit.number, hit.remark, hit.disc);
            ++hits_;
        }
        if (list().count() == 0) {
            tell(NoRemarkFound);
            return;
        }
        showHits();
    }

    // The remarks or usage notes of each disc in the location.
    void notes(std::string_view extension, std::string_view marker, std::string_view heading) {
        setResultLayout(list(), noteResultLayout(heading));
        busy_.emplace(form_);
        for (const LocationDisc& disc : locationDiscs(form_)) {
            std::string text;
            try {
                text = discpage::readNoteText(
                    catalogue::discFilePath(form_.app().ProgramFolder, disc.name, extension));
            } catch (const platform::Error&) {
                continue;  // a name that cannot be a file's
            }
            for (search::NoteHit& hit :
                 search::searchNotes(text, marker, disc.name, query_, caseSensitive())) {
                search::rememberListedPath(
                    addRow(list(), disc.name, std::move(hit.path), std::move(hit.text)));
                ++hits_;
            }
        }
        busy_.reset();
        form_.setCaption(std::string(ProgramCaption));
        if (list().count() == 0) {
            tell(NothingFound);
            return;
        }
        showHits();
    }

    // The names in the index file of each disc in the location; a row is
    // ticked when its file is.
    void discFiles() {
        setResultLayout(list(), FileResultLayout);
        busy_.emplace(form_);
        const search::FileSearchOptions options{form_.find_Mode, form_.find_Match, caseSensitive()};
        // Each disc's name shows in the caption once it is searched.
        platform::ThrottledText progress([this](const std::string& caption) {
            form_.setCaption(caption);
            form_.ui().flush();
        });
        // The discs' index files are searched a few at a time; the rows are
        // added disc by disc, in order, as each disc's hits come.
        const std::vector<LocationDisc> discs = locationDiscs(form_);
        search::searchDiscFilesInOrder(
            discs.size(), search::searchThreadCount(),
            [&](std::size_t i) {
                return std::make_unique<platform::files::RawLineReader>(
                    catalogue::discIndexFilePath(form_.app().ProgramFolder, discs[i].name));
            },
            query_, options,
            [&](std::size_t i, const search::FileHits& found) {
                const LocationDisc& disc = discs[i];
                const std::string nodeIndex = std::to_string(disc.nodeIndex);
                for (const search::FileHit hit : found) {
                    // Set by code: the box shows the state of the index line
                    // and raises no event.
                    addRow(list(), disc.name, nodeIndex, std::string(hit.line))
                        .setChecked(hit.ticked);
                    ++hits_;
                }
                progress.update(disc.name);
            });
        form_.setCaption(std::string(ProgramCaption));
        form_.StatusBar1.panel(2).setText(hitCountText(hits_));
        if (list().count() == 0) {
            tell(NothingFound);
            return;
        }
        form_.ShowResultList();
    }

    Form1& form_;
    const search::Query query_;
    std::optional<platform::BusyPointer> busy_;
    int hits_ = 0;
};

}  // namespace

void Form1::find_Click() {
    if (TreeView3.visible()) {
        ui().msgBox(SoftwarePageRefusal, platform::MsgButtons::OK, catalogue::TipTitle);
        return;
    }
    // The preview pane closes while the dialog is open (unless the result
    // list shares the window with it).
    if (Toolbar1.button("preview").value() == 1 && !ListView2.visible()) OpenPreview_Click();

    find1::show(*this);
    if (find_Txt.empty() || find_Location.empty()) return;
    ui().flush();

    std::optional<SearchRun> run;
    if (ok) {
        search::Query query = search::splitQuery(find_Txt);
        find_Txt = query.first;
        run.emplace(*this, std::move(query));
        run->run();
    }

    ListView2.refresh();
    if (run) run->endBusy();
    if (Toolbar1.button("preview").value() != 1) OpenPreview_Click();
}

void Form1::ShowResultList() {
    if (ListView2.visible()) return;
    ListView2.setVisible(true);
    ListView2.zOrder(0);
    FormSizeFind();
}
