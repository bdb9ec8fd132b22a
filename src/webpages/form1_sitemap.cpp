// The sitemap files of the open disc (sitemap.h), from the folder tree the
// disc page built below its node in the disc list, and the support files
// copied beside them. Only the open disc's own node, with its folder tree,
// is taken: any other selection would write an empty sitemap over the
// sitemap of the disc opened before.
#include <iterator>
#include <string>

#include "catalogue/scan_command.h"
#include "mainwindow/form1.h"
#include "platform/error.h"
#include "platform/files/confine.h"
#include "platform/files/file_ops.h"
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

// Writes the sitemap file and copies the support files.
template <class Walk>
void writeSitemap(Form1& form, std::string_view fileName, std::string head, std::string_view last,
                  Walk&& walk) {
    platform::SkipOnError onError;
    const std::string program = form.app().ProgramFolder;
    const std::string pageTree = program + "\\" + std::string(webpages::PageTreeFolder);
    const std::string imageFolder = pageTree + "\\" + std::string(webpages::SharedImageFolder);
    const std::string discFolder = pageTree + "\\" + form.OpenedDisk;
    for (const std::string* folder : {&pageTree, &imageFolder, &discFolder})
        onError.step([&] { files::createFolder(*folder); });

    std::string text = std::move(head);
    walk(text);
    text += last;
    text += "\r\n";
    const std::string path = discFolder + "\\" + std::string(fileName);
    onError.step([&] {
        files::confinedNative(path, pageTree);
        files::OutputFile out(path);
        out.write(text);
        out.close();
    });

    const std::string source = program + "\\" + std::string(webpages::SupportFilesFolder) + "\\";
    for (std::size_t i = 0; i < std::size(webpages::SupportFiles); ++i) {
        const std::string& target = i < webpages::SharedSupportFiles ? imageFolder : discFolder;
        onError.step([&] {
            files::copyFile(source + std::string(webpages::SupportFiles[i]), target + "\\", false);
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
