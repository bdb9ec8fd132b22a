// The sitemap files of the open disc (sitemap.h), from the folder tree the
// disc page built below its node in the disc list, and the support files
// copied beside them. Only the open disc's own node, with its folder tree,
// is taken: any other selection would write an empty sitemap over the
// sitemap of the disc opened before.
//
// The sitemap file and the support files are written beneath "webhtml"
// (confined.h), the support files read beneath the program folder: a path
// or a link that leads out is refused ("路径不在允许的文件夹里：" + path),
// and the other files are still written. A folder that cannot be made
// (webhtml\<disc> or webhtml\image a link leading out, a full disk) is told
// once, and nothing is written into it. Every failure is told with its
// reason in one box at the end (copies/copy_failures.h); a support file
// already there is kept and is no failure.
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/scan_command.h"
#include "copies/copy_failures.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/confined.h"
#include "platform/files/text_file.h"
#include "platform/ui/ui.h"
#include "webpages/folder_page.h"
#include "webpages/sitemap.h"

namespace {

namespace files = platform::files;

// The scan root node of the open disc when it is the selected node;
// nothing after the message otherwise.
const platform::Node* selectedDiscRoot(Form1& form) {
    const platform::Node* node = form.TreeView1.selectedItem();
    const std::string& disc = form.OpenedDisk;
    if (node && node->image() == images::Disc && node->text() == disc && node->child() &&
        !disc.empty() && disc != "." && disc != ".." &&
        disc.find_first_of("/\\") == std::string::npos)
        return node->child();
    form.ui().msgBox(webpages::ChooseDiscNode, platform::MsgButtons::OK, catalogue::TipTitle);
    return nullptr;
}

// The failures of writing a sitemap, told in one box at the end
// (copy_failures.h).
class SitemapRun {
  public:
    explicit SitemapRun(Form1& form) : form_(form) {}
    SitemapRun(const SitemapRun&) = delete;
    SitemapRun& operator=(const SitemapRun&) = delete;

    // Runs one step that writes path (reads it, with Reading::Yes): a
    // failure is listed with its reason and gives false.
    enum class Reading { No, Yes };
    template <class F>
    bool step(const std::string& path, F&& f, Reading reading = Reading::No) {
        try {
            std::forward<F>(f)();
        } catch (const platform::Error& e) {
            failed_.push_back(reading == Reading::Yes ? copies::failedRead(path, e)
                                                      : copies::failedWrite(path, e));
            return false;
        }
        return true;
    }
    // A support file's copy, never over a file there: one already there
    // (58) is no failure. A source that cannot be read is named as such.
    void copy(const files::ConfinedRoot& target, const std::string& relative,
              const files::ConfinedRoot& source, const std::string& sourceRelative) {
        try {
            target.copyInto(relative, source, sourceRelative, files::OnExisting::Refuse);
        } catch (const platform::Error& e) {
            if (e.number() == platform::err::FileExists) return;
            const std::optional<files::EntryStatus> there =
                copies::isRefusal(e) ? std::nullopt : statusOf(source, sourceRelative);
            failed_.push_back(!copies::isRefusal(e) && (!there || there->isFolder)
                                  ? copies::failedRead(source.windowsOf(sourceRelative), e)
                                  : copies::failedWrite(target.windowsOf(relative), e));
        }
    }
    void tell() {
        if (!failed_.empty())
            form_.ui().msgBox(copies::failureList(failed_), platform::MsgButtons::OK,
                              catalogue::TipTitle);
    }

  private:
    static std::optional<files::EntryStatus> statusOf(const files::ConfinedRoot& root,
                                                      const std::string& relative) {
        try {
            return root.status(relative);
        } catch (const platform::Error&) {
            return std::nullopt;
        }
    }

    Form1& form_;
    std::vector<std::string> failed_;
};

// Writes the sitemap file and copies the support files.
template <class Walk>
void writeSitemap(Form1& form, std::string_view fileName, std::string head, std::string_view last,
                  Walk&& walk) {
    const std::string& program = form.app().ProgramFolder;
    const std::string tree = program + "\\" + std::string(webpages::PageTreeFolder);
    const std::string& discFolder = form.OpenedDisk;
    const std::string sitemap = discFolder + "\\" + std::string(fileName);
    SitemapRun run(form);
    std::optional<files::ConfinedRoot> pageTree;
    run.step(tree + "\\" + sitemap, [&] { pageTree.emplace(webpages::openPageTree(program)); });
    if (!pageTree) return run.tell();
    // A folder that cannot be made (a link leading out, a full disk) is told
    // once; nothing more is written into it.
    const std::string imageFolder(webpages::SharedImageFolder);
    const bool imagesAllowed =
        run.step(tree + "\\" + imageFolder, [&] { pageTree->createFolders(imageFolder); });
    const bool discAllowed =
        run.step(tree + "\\" + sitemap, [&] { pageTree->createFolders(discFolder); });

    std::string text = std::move(head);
    walk(text);
    text += last;
    text += "\r\n";
    if (discAllowed)
        run.step(tree + "\\" + sitemap, [&] {
            files::CommittedTextFile out(*pageTree, sitemap, files::OnExisting::Replace);
            out.write(text);
            out.commit();
        });

    std::optional<files::ConfinedRoot> programRoot;
    const std::string source = std::string(webpages::SupportFilesFolder) + "\\";
    run.step(
        program + "\\" + std::string(webpages::SupportFilesFolder),
        [&] { programRoot.emplace(files::ConfinedRoot::open(program)); }, SitemapRun::Reading::Yes);
    if (programRoot) {
        for (std::size_t i = 0; i < std::size(webpages::SupportFiles); ++i) {
            const bool shared = i < webpages::SharedSupportFiles;
            if (!(shared ? imagesAllowed : discAllowed)) continue;
            const std::string& target = shared ? imageFolder : discFolder;
            const std::string name(webpages::SupportFiles[i]);
            run.copy(*pageTree, target + "\\" + name, *programRoot, source + name);
        }
    }
    run.tell();
}

}  // namespace

void Form1::createhtmlcontent_Click() {
    const platform::Node* root = selectedDiscRoot(*this);
    if (!root) return;
    const std::string key = root->key();
    writeSitemap(*this, webpages::SitemapContentsName, webpages::contentsHead(OpenedDisk),
                 webpages::ContentsEnd, [&](std::string& text) { nodehtml(key, text); });
}

void Form1::createhtmlindex_Click() {
    const platform::Node* root = selectedDiscRoot(*this);
    if (!root) return;
    const std::string key = root->key();
    writeSitemap(*this, webpages::SitemapIndexName, webpages::indexHead(), webpages::IndexEnd,
                 [&](std::string& text) { nodehtmlindex(key, text); });
}

void Form1::nodehtml(const std::string& node1, std::string& sitemap) {
    const platform::Node* node = TreeView1.find(node1);
    if (!node || !node->child()) return;
    for (const platform::Node* child = node->child(); child; child = child->next()) {
        sitemap += webpages::contentsEntry(child->text(),
                                           webpages::sitemapLocal(OpenedDisk, child->fullPath()),
                                           child == node->child());
        sitemap += "\r\n";
        nodehtml(child->key(), sitemap);
    }
    sitemap += webpages::ListEnd;
    sitemap += "\r\n";
}

void Form1::nodehtmlindex(const std::string& node1, std::string& sitemap) {
    const platform::Node* node = TreeView1.find(node1);
    if (!node) return;
    for (const platform::Node* child = node->child(); child; child = child->next()) {
        sitemap += webpages::indexEntry(child->text(),
                                        webpages::sitemapLocal(OpenedDisk, child->fullPath()));
        sitemap += "\r\n";
        nodehtmlindex(child->key(), sitemap);
    }
}
