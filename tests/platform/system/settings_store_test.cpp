#include "platform/system/settings_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "platform/error.h"
#include "support/temp_folder.h"
#include "support/unreadable_file.h"

using platform::system::FileSettingsStore;
using platform::system::MemorySettingsStore;

namespace {

using testsupport::readBytes;
using testsupport::TempFolder;
using testsupport::writeBytes;

TEST(MemorySettingsStore, DefaultUntilSavedThenValue) {
    MemorySettingsStore store;
    EXPECT_EQ(store.get("Zelbrin", "Expiry", "yourfolder", ""), "");
    EXPECT_EQ(store.get("Zelbrin", "Expiry", "yourfolder", "none"), "none");
    store.save("Zelbrin", "Expiry", "yourfolder", " d:\\my files\\ ");
    EXPECT_EQ(store.get("Zelbrin", "Expiry", "yourfolder", "none"), " d:\\my files\\ ");
    EXPECT_EQ(store.get("zelbrin", "EXPIRY", "YourFolder", "none"), " d:\\my files\\ ");
    // Another application, section or key keeps its default.
    EXPECT_EQ(store.get("Other", "Expiry", "yourfolder", "none"), "none");
    EXPECT_EQ(store.get("Zelbrin", "Other", "yourfolder", "none"), "none");
    EXPECT_EQ(store.get("Zelbrin", "Expiry", "other", "none"), "none");
}

TEST(FileSettingsStore, SurvivesReopen) {
    TempFolder folder;
    auto file = folder / "config" / "settings.ini";
    {
        FileSettingsStore store(file);
        store.save("Zelbrin", "Expiry", "yourfolder", "C:\\我的文件夹\\\r\nx");
        store.save("Zelbrin", "Expiry", "yourfolder", "C:\\我的文件夹\\");
        store.save("Zelbrin", "Other", "k", "v");
    }
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(readBytes(file),
              "[Zelbrin\\Expiry]\nyourfolder=C:\\\\我的文件夹\\\\\n\n[Zelbrin\\Other]\nk=v\n");

    FileSettingsStore reopened(file);
    EXPECT_EQ(reopened.get("Zelbrin", "Expiry", "yourfolder", ""), "C:\\我的文件夹\\");
    EXPECT_EQ(reopened.get("Zelbrin", "Other", "k", ""), "v");
}

TEST(FileSettingsStore, FailedSaveThrowsAndKeepsOldValue) {
    TempFolder folder;
    writeBytes(folder / "blocker", "a file where the store's folder should be");
    FileSettingsStore store(folder / "blocker" / "settings.ini");
    EXPECT_THROW(store.save("Zelbrin", "Expiry", "yourfolder", "x"), std::system_error);
    EXPECT_EQ(store.get("Zelbrin", "Expiry", "yourfolder", "absent"), "absent");
}

// A settings file that could not be read is never written over: the store
// runs on defaults and every later save is refused.
TEST(FileSettingsStore, UnreadableFileIsToldAndNeverReplaced) {
    for (const testsupport::Unreadable kind : testsupport::unreadableKinds()) {
        SCOPED_TRACE(testsupport::kindName(kind));
        TempFolder folder;
        const auto file = folder / "settings.ini";
        const testsupport::UnreadableFile bad(file, kind);
        FileSettingsStore store(file);
        ASSERT_TRUE(store.loadFailure());
        EXPECT_EQ(store.loadFailure()->file, file.string());
        EXPECT_EQ(store.loadFailure()->reason, bad.reason());
        EXPECT_EQ(store.get("Zelbrin", "Expiry", "yourfolder", "default"), "default");
        try {
            store.save("Zelbrin", "Expiry", "yourfolder", "C:\\work");
            ADD_FAILURE() << "saved";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), 75);
            EXPECT_EQ(e.description(),
                      "设置文件“" + file.string() + "”在启动时无法读取，程序不会覆盖它");
        }
        EXPECT_EQ(store.get("Zelbrin", "Expiry", "yourfolder", "default"), "default");
        EXPECT_TRUE(bad.unchanged());
    }
}

// Two instances on one settings file: each save keeps the keys the other
// saved meanwhile; a file that cannot be read at the save is not written.
TEST(FileSettingsStore, TwoStoresOnOneFileKeepEachOthersKeys) {
    TempFolder folder;
    const auto file = folder / "settings.ini";
    FileSettingsStore first(file);
    FileSettingsStore second(file);
    first.save("Zelbrin", "Settings", "have_password", "true");
    second.save("Zelbrin", "Settings", "Color", "12");
    first.save("Zelbrin", "MirrorFolders", "1", "/home/u/mirror");
    EXPECT_EQ(second.get("Zelbrin", "MirrorFolders", "1", "none"), "none");  // not saved since
    second.save("Zelbrin", "Settings", "Color", "9");
    EXPECT_EQ(second.get("Zelbrin", "MirrorFolders", "1", "none"), "/home/u/mirror");
    EXPECT_EQ(readBytes(file),
              "[Zelbrin\\Settings]\nhave_password=true\nColor=9\n\n"
              "[Zelbrin\\MirrorFolders]\n1=/home/u/mirror\n");

    std::filesystem::remove(file);
    const testsupport::UnreadableFile bad(file, testsupport::Unreadable::Folder);
    EXPECT_THROW(first.save("Zelbrin", "Settings", "Color", "3"), std::system_error);
    EXPECT_EQ(first.get("Zelbrin", "Settings", "Color", "none"), "12");
    EXPECT_TRUE(bad.unchanged());
}

TEST(MemorySettingsStore, LineBreakInSectionNameIsRefused) {
    MemorySettingsStore store;
    EXPECT_THROW(store.save("Zel\nbrin", "Expiry", "k", "v"), std::invalid_argument);
    EXPECT_EQ(store.get("Zel\nbrin", "Expiry", "k", "absent"), "absent");
}

}  // namespace
