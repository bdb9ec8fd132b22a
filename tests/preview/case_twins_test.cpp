// The preview and the play list on files that differ only in letter case:
// each row shows and plays its own file.
#include "discpage/case_twins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace case_twins;

namespace {

class PreviewTwins : public CaseTwins {};

TEST_F(PreviewTwins, EachRowIsPreviewedFromItsOwnFile) {
    clickDiscList({Twins, "twins_hard\\twins"});
    ASSERT_EQ(f().Toolbar1.button("preview").value(), 1);
    for (const auto& [key, shows] : std::vector<std::pair<std::string, std::string>>{
             {"p.HTM[9]", "file:///C:/twins/p.HTM"},
             {"p.htm[10]", "file:///C:/twins/p.htm"},
             {"a.TXT[5]", "file:///C:/twins/a.TXT"},
         }) {
        SCOPED_TRACE(key);
        f().ListView1.userClickItem(rowOfKey(f(), key));
        EXPECT_EQ(f().WebBrowser1.locationURL(), shows);
    }
}

TEST_F(PreviewTwins, ThePlayListHoldsEachTickedRowsOwnFile) {
    clickDiscList({Twins, "twins_hard\\twins"});
    f().playmp3.userClick();
    std::vector<std::string> list = f().PlayList;
    std::sort(list.begin(), list.end());
    EXPECT_EQ(list, (std::vector<std::string>{"", "C:\\twins\\s.MP3", "C:\\twins\\s.mp3"}));
}

}  // namespace
