#include "platform/files/listing.h"

#include <gtest/gtest.h>

#include "files_fixture.h"

namespace {

using namespace platform::files;
using files_test::FilesTest;
using files_test::writeBytes;
namespace fs = std::filesystem;

std::vector<std::string> names(const std::vector<FindEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries) out.push_back(e.name);
    return out;
}

// Names stored in code page 936 on disk (a disc written by Windows and
// mounted without a character set) list by their decoded names.
TEST_F(FilesTest, NamesInCodePage936ListByTheirDecodedNames) {
    writeBytes(c() + "/g/\xD6\xD0\xCE\xC4.txt", "gbk");  // 中文.txt
    fs::create_directories(c() + "/g/\xB8\xE8");         // 歌
    writeBytes(c() + "/g/plain.txt", "");
    writeBytes(c() + "/g/bad\xff.txt", "");  // neither UTF-8 nor code page 936

    const auto all = findEntries("C:\\g", "*");
    EXPECT_EQ(names(all), (std::vector<std::string>{".", "..", "plain.txt", "中文.txt", "歌"}));
    EXPECT_EQ(all[3].nativeName, "\xD6\xD0\xCE\xC4.txt");
    EXPECT_EQ(all[3].size, 3u);
    EXPECT_TRUE(all[4].isFolder());
    EXPECT_EQ(all[2].nativeName, "");
    EXPECT_EQ(names(findEntries("C:\\g", "中*")), std::vector<std::string>{"中文.txt"});
    EXPECT_EQ(listFiles("C:\\g", "*.txt"), (std::vector<std::string>{"plain.txt", "中文.txt"}));
    // A native listing keeps the native names (for copies made natively).
    EXPECT_EQ(names(listNativeFolder(c() + "/g")),
              (std::vector<std::string>{"plain.txt", "\xB8\xE8", "\xD6\xD0\xCE\xC4.txt"}));
}

// When a decoded name is another entry's own name, the Windows path leads to
// that entry, so the decoded one is left out.
TEST_F(FilesTest, ADecodedNameThatAnotherEntryHasIsLeftOut) {
    writeBytes(c() + "/h/中文.txt", "utf8");
    writeBytes(c() + "/h/\xD6\xD0\xCE\xC4.txt", "gbk");
    const auto all = findEntries("C:\\h\\", "*.txt");
    ASSERT_EQ(names(all), std::vector<std::string>{"中文.txt"});
    EXPECT_EQ(all[0].nativeName, "");
    EXPECT_EQ(all[0].size, 4u);
    EXPECT_EQ(listNativeFolder(c() + "/h").size(), 2u);
}

}  // namespace
