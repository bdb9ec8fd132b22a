// Generated pages in a real browser (headless Chromium): every link of the
// pages and every page named by the sitemap contents, resolved by the
// browser's own URL rules ("\" as "/", percent escapes), names an existing
// file on this case-sensitive file system, and the names read back as they
// are.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
    // folders in the sitemap (whose names are written unescaped).
    EXPECT_EQ(links, 7);
    EXPECT_EQ(sitemapPages, 4);
    for (const char* name :
         {"Fotos 2024", "图 集", "Read Me.txt", "A%20b #c.jpg", "x&amp;y.txt", "照&amp;片 #2.png"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), name), texts.end()) << name;
}

}  // namespace
