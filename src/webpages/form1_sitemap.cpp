// The sitemap files of the open disc (sitemap.h), from the folder tree the
// disc page built below its node in the disc list, and the support files
// copied beside them. Only the open disc's own node, with its folder tree,
// is taken: any other selection would write an empty sitemap over the
// sitemap of the disc opened before.
//
// The sitemap file and the support files are written beneath "webhtml"
// (confined.h), the support files read beneath the program folder: a path
// or a link that leads out is refused and told ("路径不在允许的文件夹里："
// + path), and the other files are still written. A folder refused whole
// (webhtml\<disc> or webhtml\image a link leading out) is told once, and
// nothing is written into it.
#include <iterator>
#include <optional>
#include <string>

#include "catalogue/scan_command.h"
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

// Runs one step of writing the sitemap: a refusal (a path or a link that
// leads out) is told and gives false, any other failure is skipped as before.
template <class F>
bool sitemapStep(Form1& form, F&& f) {
    try {
        std::forward<F>(f)();
    } catch (const platform::Error& e) {
        if (e.number() != platform::err::PathFileAccess) return true;
        form.ui().msgBox(e.description(), platform::MsgButtons::OK, catalogue::TipTitle);
        return false;
    }
    return true;
}

// Writes the sitemap file and copies the support files.
template <class Walk>
void writeSitemap(Form1& form, std::string_view fileName, std::string head, std::string_view last,
                  Walk&& walk) {
    const std::string& program = form.app().ProgramFolder;
    std::optional<files::ConfinedRoot> pageTree;
    sitemapStep(form, [&] { pageTree.emplace(webpages::openPageTree(program)); });
    if (!pageTree) return;
    // A folder refused (a link leading out) is told once; nothing more is
    // written into it.
    const std::string imageFolder(webpages::SharedImageFolder);
    const std::string& discFolder = form.OpenedDisk;
    const bool imagesAllowed = sitemapStep(form, [&] { pageTree->createFolders(imageFolder); });
    const bool discAllowed = sitemapStep(form, [&] { pageTree->createFolders(discFolder); });

    std::string text = std::move(head);
    walk(text);
    text += last;
    text += "\r\n";
    if (discAllowed)
        sitemapStep(form, [&] {
            files::CommittedTextFile out(*pageTree, discFolder + "\\" + std::string(fileName),
                                         files::OnExisting::Replace);
            out.write(text);
            out.commit();
        });

    std::optional<files::ConfinedRoot> programRoot;
    sitemapStep(form, [&] { programRoot.emplace(files::ConfinedRoot::open(program)); });
    if (!programRoot) return;
    const std::string source = std::string(webpages::SupportFilesFolder) + "\\";
    for (std::size_t i = 0; i < std::size(webpages::SupportFiles); ++i) {
        const bool shared = i < webpages::SharedSupportFiles;
        if (!(shared ? imagesAllowed : discAllowed)) continue;
        const std::string& target = shared ? imageFolder : discFolder;
        const std::string name(webpages::SupportFiles[i]);
        sitemapStep(form, [&] {
            pageTree->copyInto(target + "\\" + name, *programRoot, source + name,
                               files::OnExisting::Refuse);
        });
    }
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
