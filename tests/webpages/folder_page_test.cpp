// The escaping of names in pages: HTML character references in the text,
// percent escapes of the UTF-8 bytes in links.
#include "webpages/folder_page.h"

#include <gtest/gtest.h>

#include "platform/text/text.h"

namespace {

TEST(FolderPageNames, EscapedInTextAndEncodedInLinks) {
    struct Case {
        std::string name, text, link;
    };
    for (const Case& c : std::vector<Case>{
             {"plain-name_1.0~x", "plain-name_1.0~x", "plain-name_1.0~x"},
             {"a<b>\"c\"&'d'", "a&lt;b&gt;&quot;c&quot;&amp;&#39;d&#39;",
              "a%3Cb%3E%22c%22%26%27d%27"},
             {"# %?/\\:", "# %?/\\:", "%23%20%25%3F%2F%5C%3A"},
             {"图 片", "图 片", "%E5%9B%BE%20%E7%89%87"},
             {"", "", ""},
         }) {
        EXPECT_EQ(platform::text::htmlEscape(c.name), c.text) << c.name;
        EXPECT_EQ(platform::text::percentEncode(c.name), c.link) << c.name;
    }
}

TEST(FolderPageNames, FolderNameGoesIntoTheFirstTokenOnly) {
    EXPECT_EQ(webpages::pageHead("<t>文件夹名字</t>文件夹名字", "a&b"), "<t>a&amp;b</t>文件夹名字");
    EXPECT_EQ(webpages::pageHead("<t></t>", "a"), "<t></t>");
}

}  // namespace
