#include "copies/mirror_edits.h"

#include <gtest/gtest.h>

namespace {

TEST(MirrorCopyFolderTest, TheFolderTheCopyRunWroteInto) {
    struct Case {
        const char* mirror;
        const char* indexPath;
        const char* folder;  // "" refused
    };
    const Case cases[] = {
        {"d:\\zelbrin\\[003]Photos\\docs\\img\\a.jpg", "E:\\docs\\img\\a.jpg",
         "d:\\zelbrin\\[003]Photos"},
        {"D:\\Z\\DOCS\\A.JPG", "e:\\docs\\a.jpg", "D:\\Z"},
        {"d:\\x\\a($)b\\c.txt", "E:\\a($)b\\c.txt", "d:\\x"},
        {"d:\\docs\\a.jpg", "E:\\docs\\a.jpg", "d:\\"},
        {"d:\\zelbrin\\a.jpg.bak", "E:\\a.jpg", ""},
        {"C:\\.bashrc", "E:\\docs\\a.jpg", ""},
        {"d:\\x\\..\\docs\\a.jpg", "E:\\docs\\a.jpg", ""},
        {"d:\\x\\\\docs\\a.jpg", "E:\\docs\\a.jpg", ""},
        {"docs\\a.jpg", "E:\\docs\\a.jpg", ""},
        {"d:\\x\\a.jpg", "E:\\", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mirror);
        EXPECT_EQ(copies::mirrorCopyFolder(c.mirror, c.indexPath), c.folder);
    }
}

}  // namespace
