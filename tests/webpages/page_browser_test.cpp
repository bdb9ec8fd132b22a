// Generated pages in a real browser (headless Chromium): every link of the
// pages and every page named by the sitemap contents, resolved by the
// browser's own URL rules ("\" as "/", percent escapes), names an existing
// file on this case-sensitive file system, and the names read back as they
// are.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/files/program_folder.h"
#include "support/artifacts.h"
#include "web_steps.h"

using namespace web_test;

namespace {

namespace fs = std::filesystem;

constexpr std::string_view Pics = "[020]Pics";
const std::vector<std::string_view> PicsIndex = {
    "E:\\|Fotos 2024",
    "E:\\|图 集",
    "E:\\Read Me.txt[10]",
    "E:\\Fotos 2024\\A%20b #c.JPG[2048]",
    "E:\\Fotos 2024\\|Sub",
    "E:\\Fotos 2024\\Sub\\x&y.txt[3]",
    "E:\\图 集\\照&片 #2.png[5]",
};

std::string chromium() {
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
        const std::string probe = "command -v " + std::string(name) + " >/dev/null 2>&1";
        if (std::system(probe.c_str()) == 0) return name;
    }
    return "";
}

std::string run(const std::string& command) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    ::pclose(p);
    return out;
}

std::string percentDecode(const std::string& s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string fileUrl(const fs::path& p) { return "file://" + p.string(); }

class PagesInBrowser : public WebPages {
  protected:
    void prepare() override {
        h.write(indexPath(Pics), lines(PicsIndex));
        extraCatalogue = "#[020]Pics#20#图#\r\n";
    }
};

TEST_F(PagesInBrowser, LinksOfPagesAndSitemapResolve) {
    const std::string browser = chromium();
    if (browser.empty()) GTEST_SKIP() << "chromium is not installed";
    for (std::string_view f : {"E:\\Read Me.txt", "E:\\Fotos 2024\\A%20b #c.JPG",
                               "E:\\Fotos 2024\\Sub\\x&y.txt", "E:\\图 集\\照&片 #2.png"})
        h.write(f, "bytes");
    h.ui.answerMsgBox(platform::MsgOK);
    f().htmlcopyall.userClick();
    f().CreateHtmlTrue.userClick();
    clickDiscList({"[020]Pics", "[020]Pics\\E:", "[020]Pics\\E:\\Fotos 2024",
                   "[020]Pics\\E:\\Fotos 2024\\Sub", "[020]Pics\\E:\\图 集"});
    clickDiscList({"[020]Pics"});
    popup("createhtmlcontent");
    ASSERT_TRUE(h.ui.messages().size() == 1) << "copies failed";

    const fs::path disc = h.nativePath("C:\\zelbrin\\webhtml\\[020]Pics");
    const std::vector<fs::path> pages = {
        disc / "ZelbrinIndex.html", disc / "Fotos 2024" / "ZelbrinIndex.html",
        disc / "Fotos 2024" / "Sub" / "ZelbrinIndex.html", disc / "图 集" / "ZelbrinIndex.html"};
    for (const auto& p : pages) ASSERT_TRUE(fs::exists(p)) << p;

    // The check page asks the browser to load each page and the sitemap,
    // parse them as it would show them, and resolve each link.
    const fs::path check = h.nativePath("C:\\check.html");
    std::string list;
    for (const auto& p : pages) list += "\"" + fileUrl(p) + "\",";
    {
        std::ofstream out(check);
        out << "<html><head><meta charset=\"utf-8\"></head><body><pre id=\"out\"></pre><script>\n"
               "function load(u){var x=new XMLHttpRequest();x.open('GET',u,false);"
               "x.overrideMimeType('text/html; charset=gbk');x.send();"
               "return new DOMParser().parseFromString(x.responseText,'text/html');}\n"
               "var lines=[];\n"
               "["
            << list
            << "].forEach(function(u){var d=load(u);"
               "d.querySelectorAll('a[href]').forEach(function(a){"
               "if(a.getAttribute('href').indexOf('http')===0)return;"
               "lines.push('LINK '+new URL(a.getAttribute('href'),u).href+'\\t'+a.textContent);});"
               "});\n"
               "var hhc='"
            << fileUrl(disc / "zelbrinleft1.hhc")
            << "';load(hhc).querySelectorAll('param[name=Local]').forEach(function(p){"
               "lines.push('PAGE '+new URL(p.getAttribute('value'),hhc).href);});\n"
               "document.getElementById('out').textContent=lines.join('\\n');\n"
               "</script></body></html>\n";
    }
    const fs::path profile = h.nativePath("C:\\chromium-profile");
    const std::string dom =
        run(browser +
            " --headless --no-sandbox --disable-gpu --allow-file-access-from-files "
            "--user-data-dir='" +
            profile.string() + "' --virtual-time-budget=10000 --dump-dom '" + fileUrl(check) +
            "' 2>/dev/null");
    ASSERT_NE(dom.find("<pre id=\"out\">"), std::string::npos) << dom;

    std::vector<std::string> texts;
    int links = 0, sitemapPages = 0;
    const std::string pre = "<pre id=\"out\">";
    std::size_t at = dom.find(pre) + pre.size() - 1;
    while ((at = dom.find_first_of("\n>", at)) != std::string::npos) {
        ++at;
        const bool link = dom.compare(at, 5, "LINK ") == 0;
        const bool pageLine = dom.compare(at, 5, "PAGE ") == 0;
        if (!link && !pageLine) continue;
        std::size_t end = dom.find_first_of("\n<", at);
        std::string line = dom.substr(at + 5, end - at - 5);
        std::string url = line.substr(0, line.find('\t'));
        if (link) texts.push_back(line.substr(line.find('\t') + 1));
        ASSERT_EQ(url.rfind("file://", 0), 0u) << url;
        const fs::path target = percentDecode(url.substr(7));
        EXPECT_TRUE(fs::is_regular_file(target)) << url;
        (link ? links : sitemapPages)++;
    }
    // Folder rows and file rows of the four pages; the disc and its three
    // folders in the sitemap.
    EXPECT_EQ(links, 7);
    EXPECT_EQ(sitemapPages, 4);
    for (const char* name :
         {"Fotos 2024", "图 集", "Read Me.txt", "A%20b #c.JPG", "x&amp;y.txt", "照&amp;片 #2.png"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), name), texts.end()) << name;
}

// ---- the sitemaps and the contents page, with names that need escaping ----

constexpr std::string_view Names = "[030]Names";
const std::vector<std::string_view> NamesIndex = {
    "E:\\|C# 1",
    "E:\\|100%25",
    "E:\\|图 集",
    "E:\\top.txt[3]",
    "E:\\C# 1\\|R&D 图",
    "E:\\C# 1\\R&D 图\\x.txt[1]",
    "E:\\100%25\\y.txt[2]",
    "E:\\图 集\\|a b #x",
    "E:\\图 集\\a b #x\\z.txt[4]",
};
// Every folder below the disc's root, with the name its entry must show.
const std::vector<std::string> NamedFolders = {"C# 1", "R&D 图", "100%25", "图 集", "a b #x"};

fs::path sourceTree() {
    const char* source = std::getenv("ZELBRIN_SOURCE_DIR");
    return source ? fs::path(source) : fs::path(__FILE__).parent_path().parent_path().parent_path();
}

std::string htmlUnescape(std::string s) {
    for (const auto& [code, c] : std::vector<std::pair<std::string, std::string>>{
             {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}})
        for (std::size_t at = s.find(code); at != std::string::npos; at = s.find(code, at + 1))
            s.replace(at, code.size(), c);
    return s;
}

class SitemapsInBrowser : public WebPages {
  protected:
    void prepare() override {
        h.write(indexPath(Names), lines(NamesIndex));
        extraCatalogue = "#[030]Names#30#名#\r\n";
    }
    // The program folder as installed, then every folder's page (quick page
    // mode, a click on each folder) and both sitemaps of the disc.
    void generateAll() {
        // The real support files in place of the fixture's stand-ins.
        fs::remove_all(h.nativePath("C:\\zelbrin\\webmodel\\treeviewimage"));
        platform::files::installResources((sourceTree() / "webmodel").string(),
                                          h.nativePath("C:\\zelbrin"));
        f().CreateHtmlTrue.userClick();
        const std::string root = std::string(Names) + "\\E:";
        clickDiscList({Names, root});
        for (const char* below :
             {"\\C# 1", "\\C# 1\\R&D 图", "\\100%25", "\\图 集", "\\图 集\\a b #x"})
            clickDiscList({root + below});
        clickDiscList({Names});
        popup("createhtmlcontent");
        popup("createhtmlindex");
        ASSERT_TRUE(h.ui.messages().empty());
    }
    std::string dumpDom(const std::string& browser, const std::string& url, bool fileAccess) {
        const fs::path profile = h.nativePath("C:\\chromium-profile");
        return run(browser + " --headless --no-sandbox --disable-gpu " +
                   (fileAccess ? "--allow-file-access-from-files " : "") + "--user-data-dir='" +
                   profile.string() + "' --virtual-time-budget=10000 --dump-dom '" + url +
                   "' 2>/dev/null");
    }
    fs::path disc() { return h.nativePath("C:\\zelbrin\\webhtml\\[030]Names"); }
};

TEST_F(SitemapsInBrowser, EveryEntryOfBothSitemapsOpensItsPage) {
    const std::string browser = chromium();
    if (browser.empty()) GTEST_SKIP() << "chromium is not installed";
    generateAll();
    for (const std::string& name : NamedFolders) SCOPED_TRACE(name);

    // The check page reads each sitemap as the browser parses it and
    // resolves each Local value from the sitemap's own address.
    const fs::path check = h.nativePath("C:\\check.html");
    {
        std::ofstream out(check);
        out << "<html><head><meta charset=\"utf-8\"></head><body><pre id=\"out\"></pre><script>\n"
               "var lines=[];\n"
               "['zelbrinleft1.hhc','zelbrinleft1.hhk'].forEach(function(f){\n"
               "var u='"
            << fileUrl(disc())
            << "/'+f;\n"
               "var x=new XMLHttpRequest();x.open('GET',u,false);"
               "x.overrideMimeType('text/html; charset=gbk');x.send();\n"
               "var d=new DOMParser().parseFromString(x.responseText,'text/html');\n"
               "d.querySelectorAll('object').forEach(function(o){var n=null,l=null;"
               "o.querySelectorAll('param').forEach(function(p){"
               "if(p.getAttribute('name')==='Name')n=p.getAttribute('value');"
               "if(p.getAttribute('name')==='Local')l=p.getAttribute('value');});"
               "if(l!==null)lines.push('PAGE '+f+' '+new URL(l,u).href+'\\t'+n);});});\n"
               "document.getElementById('out').textContent=lines.join('\\n');\n"
               "</script></body></html>\n";
    }
    const std::string dom = dumpDom(browser, fileUrl(check), true);
    const std::string pre = "<pre id=\"out\">";
    ASSERT_NE(dom.find(pre), std::string::npos) << dom;
    std::map<std::string, std::vector<std::string>> names;  // by sitemap file
    std::size_t at = dom.find(pre) + pre.size();
    for (std::size_t end; (end = dom.find_first_of("\n<", at)) != std::string::npos; at = end + 1) {
        const std::string line = dom.substr(at, end - at);
        if (line.rfind("PAGE ", 0) != 0) {
            if (dom[end] == '<') break;
            continue;
        }
        const std::size_t space = line.find(' ', 5);
        const std::string file = line.substr(5, space - 5);
        const std::string url = line.substr(space + 1, line.find('\t') - space - 1);
        ASSERT_EQ(url.rfind("file://", 0), 0u) << url;
        EXPECT_TRUE(fs::is_regular_file(fs::path(percentDecode(url.substr(7)))))
            << file << " " << url;
        names[file].push_back(htmlUnescape(line.substr(line.find('\t') + 1)));
        if (dom[end] == '<') break;
    }
    std::vector<std::string> contents = NamedFolders, index = NamedFolders;
    contents.push_back(std::string(Names));
    for (auto* v : {&contents, &index, &names["zelbrinleft1.hhc"], &names["zelbrinleft1.hhk"]})
        std::sort(v->begin(), v->end());
    EXPECT_EQ(names["zelbrinleft1.hhc"], contents);
    EXPECT_EQ(names["zelbrinleft1.hhk"], index);
}

TEST_F(SitemapsInBrowser, TheContentsPageShowsTheFolderTreeWhenItMayReadTheSitemap) {
    const std::string browser = chromium();
    if (browser.empty()) GTEST_SKIP() << "chromium is not installed";
    generateAll();
    const std::string contents = fileUrl(disc() / "zelbrinindex1.html");

    // Allowed to read files beside it: the tree, each folder a link into
    // the frame "right" that opens the folder's page, nested as the folders.
    const std::string dom = dumpDom(browser, contents, true);
    ASSERT_NE(dom.find("<ul class=\"tree\">"), std::string::npos) << dom;
    std::vector<std::string> shown;
    const std::string open = "<a href=\"";
    for (std::size_t at = dom.find(open); at != std::string::npos; at = dom.find(open, at + 1)) {
        const std::size_t hrefEnd = dom.find('"', at + open.size());
        const std::string href = dom.substr(at + open.size(), hrefEnd - at - open.size());
        const std::string_view rest = "\" target=\"right\">";
        if (dom.compare(hrefEnd, rest.size(), rest) != 0) continue;
        const std::size_t textEnd = dom.find("</a>", hrefEnd);
        const std::string text =
            htmlUnescape(dom.substr(hrefEnd + rest.size(), textEnd - hrefEnd - rest.size()));
        if (text == "光盘的第一页") continue;
        EXPECT_TRUE(fs::is_regular_file(disc() / percentDecode(href))) << href;
        shown.push_back(text);
    }
    std::vector<std::string> expected = NamedFolders;
    expected.push_back(std::string(Names));
    std::sort(expected.begin(), expected.end());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, expected);
    EXPECT_NE(dom.find("<li><a href=\"C%23%201/ZelbrinIndex.html\" target=\"right\">C# 1</a>"
                       "<ul class=\"tree\"><li><a href=\"C%23%201/R%26D%20%E5%9B%BE/"
                       "ZelbrinIndex.html\" target=\"right\">R&amp;D 图</a></li></ul></li>"),
              std::string::npos)
        << dom;
    EXPECT_EQ(dom.find("目录树：zelbrinleft1.hhc"), std::string::npos);

    // Not allowed: the plain links stay.
    const std::string plain = dumpDom(browser, contents, false);
    EXPECT_NE(plain.find("目录树：zelbrinleft1.hhc"), std::string::npos) << plain;
    EXPECT_NE(plain.find("光盘的第一页"), std::string::npos);
    EXPECT_EQ(plain.find("<ul class=\"tree\">"), std::string::npos);

    // The frameset as a reader sees it.
    const fs::path shot = fs::path(testsupport::artifactFolder()) / "web_contents_page.png";
    fs::remove(shot);
    run(browser +
        " --headless --no-sandbox --disable-gpu --allow-file-access-from-files "
        "--user-data-dir='" +
        h.nativePath("C:\\chromium-profile") +
        "' --virtual-time-budget=10000 --window-size=900,420 --screenshot='" + shot.string() +
        "' '" + fileUrl(disc() / "zelbrindefault.html") + "' >/dev/null 2>&1");
    EXPECT_TRUE(fs::is_regular_file(shot) && fs::file_size(shot) > 1000) << shot;
}

}  // namespace
