#include "platform/system/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <utility>
#include <vector>

#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "support/unreadable_file.h"

using platform::system::FileRegistryStore;
using platform::system::MemoryRegistryStore;
using platform::system::RegistryStore;

namespace {

using testsupport::readBytes;
using testsupport::TempFolder;
using testsupport::writeBytes;

const std::string kKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Zelbrin";

// Values that must come back exactly as written.
const std::vector<std::string> kVerbatimValues = {
    "",
    "  two leading blanks",
    "trailing blank ",
    "line one\r\nline two\nthree\rfour",
    "d:\\zelbrin\\",
    "\\n is not a line break, \\\\ is two backslashes",
    "ends in a backslash\\",
    "光盘 资料夹\\許可.doc",
    "name=value [section]",
    "\r",
};

// The same rules for the memory store and the file store.
class RegistryStoreTest : public testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        if (GetParam())
            store_ = std::make_unique<FileRegistryStore>(folder_ / "registry.ini");
        else
            store_ = std::make_unique<MemoryRegistryStore>();
    }
    TempFolder folder_;
    std::unique_ptr<RegistryStore> store_;
};

TEST_P(RegistryStoreTest, WriteIntoMissingKeyHasNoEffect) {
    EXPECT_FALSE(store_->keyExists(kKey));
    EXPECT_FALSE(store_->set(kKey, "Color", "12"));
    EXPECT_FALSE(store_->keyExists(kKey));
    EXPECT_EQ(store_->query(kKey, "Color"), std::nullopt);
}

TEST_P(RegistryStoreTest, CreateKeyThenWriteWorks) {
    ASSERT_TRUE(store_->createKey(kKey));
    EXPECT_TRUE(store_->keyExists(kKey));
    EXPECT_TRUE(store_->keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE"));  // parents too
    EXPECT_EQ(store_->query(kKey, "Color"), std::nullopt);           // missing value
    EXPECT_TRUE(store_->set(kKey, "Color", "12"));
    EXPECT_TRUE(store_->set(kKey, "Color", "9"));
    EXPECT_EQ(store_->query(kKey, "Color"), "9");
    EXPECT_TRUE(store_->createKey(kKey));  // an existing key keeps its values
    EXPECT_EQ(store_->query(kKey, "Color"), "9");
    // A sibling of an existing key is still missing.
    EXPECT_FALSE(store_->set("HKEY_LOCAL_MACHINE\\SOFTWARE\\Other", "Color", "2"));
}

TEST_P(RegistryStoreTest, KeysAndNamesIgnoreAsciiCase) {
    ASSERT_TRUE(store_->createKey(kKey));
    EXPECT_TRUE(store_->set("hkey_local_machine\\software\\MICROSOFT\\zelbrin", "password", "x"));
    EXPECT_EQ(store_->query(kKey, "Password"), "x");
    EXPECT_TRUE(store_->set(kKey, "PASSWORD", "y"));
    EXPECT_EQ(store_->query(kKey, "password"), "y");
}

TEST_P(RegistryStoreTest, MalformedKeyPathsAreRefused) {
    for (std::string key :
         {"", "\\HKEY_USERS", "HKEY_USERS\\", "HKEY_USERS\\\\a", "HKEY_USERS\\a\nb"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(store_->createKey(key));
        EXPECT_FALSE(store_->keyExists(key));
    }
}

TEST_P(RegistryStoreTest, ValuesAndNamesRoundTripVerbatim) {
    ASSERT_TRUE(store_->createKey(kKey));
    for (const std::string& value : kVerbatimValues) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(store_->set(kKey, "v", value));
        EXPECT_EQ(store_->query(kKey, "v"), value);
    }
    for (std::string name : {"", "a=b", "[x]", " blank", "中文"}) {
        ASSERT_TRUE(store_->set(kKey, name, "of " + name));
        EXPECT_EQ(store_->query(kKey, name), "of " + name);
    }
}

INSTANTIATE_TEST_SUITE_P(MemoryAndFile, RegistryStoreTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "File" : "Memory"; });

TEST(FileRegistryStore, SurvivesReopenVerbatim) {
    TempFolder folder;
    auto file = folder / "config" / "registry.ini";  // the folder is created on the first write
    {
        FileRegistryStore store(file);
        ASSERT_TRUE(store.createKey(kKey));
        for (std::size_t i = 0; i < kVerbatimValues.size(); ++i)
            ASSERT_TRUE(store.set(kKey, "v" + std::to_string(i), kVerbatimValues[i]));
        ASSERT_TRUE(store.set(kKey, "a=b", "name with an equals sign"));
    }
    FileRegistryStore reopened(file);
    EXPECT_TRUE(reopened.keyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft"));
    for (std::size_t i = 0; i < kVerbatimValues.size(); ++i)
        EXPECT_EQ(reopened.query(kKey, "v" + std::to_string(i)), kVerbatimValues[i]) << i;
    EXPECT_EQ(reopened.query(kKey, "a=b"), "name with an equals sign");
}

TEST(FileRegistryStore, FileIsReadableTextWithModeOwnerOnly) {
    TempFolder folder;
    auto file = folder / "registry.ini";
    FileRegistryStore store(file);
    ASSERT_TRUE(store.createKey(kKey));
    ASSERT_TRUE(store.set(kKey, "Path", "d:\\zelbrin\\"));
    ASSERT_TRUE(store.set(kKey, "Password", " 口令\r\n"));

    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    std::string text = readBytes(file);
    EXPECT_NE(text.find("[" + kKey + "]\nPath=d:\\\\zelbrin\\\\\nPassword= 口令\\r\\n\n"),
              std::string::npos)
        << text;
}

TEST(FileRegistryStore, ReadsHandEditedFile) {
    TempFolder folder;
    auto file = folder / "registry.ini";
    writeBytes(file,
               "stray=line before any section\r\n"
               "[HKEY_CURRENT_USER\\Software]\r\n"
               "\r\n"
               "no equals sign\r\n"
               "Color=12\r\n"
               "Path=c:\\\\a\\\\\r\n");
    FileRegistryStore store(file);
    EXPECT_TRUE(store.keyExists("HKEY_CURRENT_USER\\Software"));
    EXPECT_EQ(store.query("HKEY_CURRENT_USER\\Software", "Color"), "12");
    EXPECT_EQ(store.query("HKEY_CURRENT_USER\\Software", "Path"), "c:\\a\\");
    EXPECT_EQ(store.query("HKEY_CURRENT_USER\\Software", "stray"), std::nullopt);
}

TEST(FileRegistryStore, RepeatedNamesMeetWithoutRegardToCase) {
    TempFolder folder;
    auto file = folder / "registry.ini";
    writeBytes(
        file,
        "[HKEY_USERS\\A]\nColor=1\nx=1\n[hkey_users\\a]\nCOLOR=2\n[HKEY_USERS\\B]\ncolor=3\n");
    FileRegistryStore store(file);
    EXPECT_EQ(store.query("HKEY_USERS\\a", "color"), "2");
    EXPECT_EQ(store.query("HKEY_USERS\\A", "X"), "1");
    EXPECT_EQ(store.query("HKEY_USERS\\b", "Color"), "3");
    // The spelling met first is the one kept.
    ASSERT_TRUE(store.set("HKEY_USERS\\A", "x", "4"));
    EXPECT_EQ(readBytes(file), "[HKEY_USERS\\A]\nColor=2\nx=4\n\n[HKEY_USERS\\B]\ncolor=3\n");
}

// A file that cannot be read is not taken for an empty store, not waited on,
// and never replaced: the store says why and refuses every write.
TEST(FileRegistryStore, UnreadableFileIsToldAndNeverReplaced) {
    for (const testsupport::Unreadable kind : testsupport::unreadableKinds()) {
        SCOPED_TRACE(testsupport::kindName(kind));
        TempFolder folder;
        const auto file = folder / "registry.ini";
        const testsupport::UnreadableFile bad(file, kind);
        FileRegistryStore store(file);
        ASSERT_TRUE(store.loadFailure());
        EXPECT_EQ(store.loadFailure()->file, file.string());
        EXPECT_EQ(store.loadFailure()->reason, bad.reason());
        EXPECT_FALSE(store.createKey(kKey));
        EXPECT_FALSE(store.keyExists(kKey));
        EXPECT_TRUE(bad.unchanged());
    }
    // A file that was read, or none at all, is no failure.
    TempFolder folder;
    EXPECT_FALSE(FileRegistryStore(folder / "registry.ini").loadFailure());
    writeBytes(folder / "blocker", "a file where the store's folder should be");
    EXPECT_FALSE(FileRegistryStore(folder / "blocker" / "registry.ini").loadFailure());
}

TEST(MemoryRegistryStore, RefusedStoreKeepsWhatItHeld) {
    MemoryRegistryStore store;
    ASSERT_TRUE(store.createKey(kKey));
    ASSERT_TRUE(store.set(kKey, "Color", "12"));
    store.refuseWrites({"/home/u/.config/zelbrin/registry.ini", "没有权限"});
    EXPECT_FALSE(store.set(kKey, "Color", "9"));
    EXPECT_FALSE(store.createKey(kKey + "\\Sub"));
    EXPECT_EQ(store.query(kKey, "Color"), "12");
    EXPECT_EQ(store.loadFailure()->reason, "没有权限");
}

// Two instances of the program on one file (two stores stand for them): each
// change re-reads the file and changes only its own value, so the log-in
// password one set stays when the other then picks a mirror colour, and a
// key the other created takes a value. Queries answer from what the store
// read at its last change.
TEST(FileRegistryStore, TwoStoresOnOneFileKeepEachOthersValues) {
    TempFolder folder;
    const auto file = folder / "registry.ini";
    FileRegistryStore first(file);
    FileRegistryStore second(file);
    ASSERT_TRUE(first.createKey(kKey));
    EXPECT_FALSE(second.keyExists(kKey));  // read when it was made
    ASSERT_TRUE(second.set(kKey, "Color", "12"));
    EXPECT_TRUE(second.keyExists(kKey));
    ASSERT_TRUE(first.set(kKey, "password", "秘密"));
    ASSERT_TRUE(second.set(kKey, "Color", "9"));
    EXPECT_EQ(second.query(kKey, "password"), "秘密");
    EXPECT_EQ(first.query(kKey, "Color"), "12");  // first read it at its own change
    const FileRegistryStore reopened(file);
    EXPECT_EQ(reopened.query(kKey, "password"), "秘密");
    EXPECT_EQ(reopened.query(kKey, "Color"), "9");
    // Setting a value to what the file holds writes nothing.
    const auto before = std::filesystem::last_write_time(file);
    std::vector<platform::files::CommitStep> steps;
    {
        const platform::files::ScopedCommitHook hook(
            [&](platform::files::CommitStep step, const std::string&) { steps.push_back(step); });
        EXPECT_TRUE(first.set(kKey, "Color", "9"));
        EXPECT_TRUE(first.createKey(kKey));
    }
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(std::filesystem::last_write_time(file), before);
    EXPECT_EQ(testsupport::entryCount(folder.path()), 1);
}

// A file that cannot be read when a change re-reads it is never written.
TEST(FileRegistryStore, AFileUnreadableAtTheChangeIsNotReplaced) {
    for (const testsupport::Unreadable kind : testsupport::unreadableKinds()) {
        SCOPED_TRACE(testsupport::kindName(kind));
        TempFolder folder;
        const auto file = folder / "registry.ini";
        FileRegistryStore store(file);
        ASSERT_TRUE(store.createKey(kKey));
        std::filesystem::remove(file);
        const testsupport::UnreadableFile bad(file, kind);
        EXPECT_FALSE(store.set(kKey, "Color", "9"));
        EXPECT_TRUE(bad.unchanged());
    }
}

TEST(FileRegistryStore, FailedWriteChangesNothing) {
    TempFolder folder;
    writeBytes(folder / "blocker", "a file where the store's folder should be");
    FileRegistryStore store(folder / "blocker" / "registry.ini");
    EXPECT_FALSE(store.createKey(kKey));
    EXPECT_FALSE(store.keyExists(kKey));
}

// Runs in a child process whose files may not grow past 16 bytes: a write
// that needs more fails half way; the store must say so and change nothing.
bool failWriteInChild(const std::filesystem::path& file, const std::string& before) {
    const testsupport::FileSizeLimit limit(16);
    FileRegistryStore store(file);
    bool refused = !store.set(kKey, "Color", std::string(1000, 'x'));
    bool kept = store.query(kKey, "Color") == "12";
    return refused && kept && readBytes(file) == before &&
           testsupport::entryCount(file.parent_path()) == 1;
}

TEST(FileRegistryStore, WriteCutShortLeavesOldFileWhole) {
    TempFolder folder;
    auto file = folder / "registry.ini";
    {
        FileRegistryStore store(file);
        ASSERT_TRUE(store.createKey(kKey));
        ASSERT_TRUE(store.set(kKey, "Color", "12"));
    }
    const std::string before = readBytes(file);

    EXPECT_EXIT(std::exit(failWriteInChild(file, before) ? 0 : 1), testing::ExitedWithCode(0), "");

    EXPECT_EQ(readBytes(file), before);
    EXPECT_EQ(testsupport::entryCount(folder.path()), 1);  // no temporary file left behind
    EXPECT_EQ(FileRegistryStore(file).query(kKey, "Color"), "12");
}

// The store's file goes through the committed-write path: data synced before
// the rename, the folder after it; a failure at any step changes nothing, on
// disk or in the store, and leaves no temporary file.
TEST(FileRegistryStore, TheFileIsReplacedDurablyOrNotAtAll) {
    using platform::files::CommitStep;
    TempFolder folder;
    auto file = folder / "registry.ini";
    FileRegistryStore store(file);
    ASSERT_TRUE(store.createKey(kKey));
    std::vector<std::pair<CommitStep, std::string>> steps;
    {
        const platform::files::ScopedCommitHook hook(
            [&](CommitStep step, const std::string& path) { steps.emplace_back(step, path); });
        ASSERT_TRUE(store.set(kKey, "Color", "9"));
    }
    std::vector<CommitStep> order;
    for (const auto& [step, path] : steps) order.push_back(step);
    EXPECT_EQ(order, (std::vector<CommitStep>{CommitStep::CreateTemp, CommitStep::Write,
                                              CommitStep::SyncData, CommitStep::Rename,
                                              CommitStep::SyncFolder}));
    EXPECT_EQ(steps[3].second, file.string());
    EXPECT_EQ(steps[4].second, folder.path().string());
    const std::string after = readBytes(file);

    for (const CommitStep failing :
         {CommitStep::CreateTemp, CommitStep::Write, CommitStep::SyncData, CommitStep::Rename}) {
        const platform::files::ScopedCommitHook hook(
            [failing](CommitStep step, const std::string&) {
                if (step == failing) throw platform::Error(57);
            });
        EXPECT_FALSE(store.set(kKey, "Color", "3")) << static_cast<int>(failing);
        EXPECT_EQ(store.query(kKey, "Color"), "9");
        EXPECT_EQ(readBytes(file), after);
        EXPECT_EQ(testsupport::entryCount(folder.path()), 1);
    }
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

}  // namespace
