// A copy to a name not there yet is written without a name and linked to it
// at the end: cut short anywhere it leaves nothing or the whole copy, and no
// temporary name; a name that comes meanwhile is replaced or refused as
// asked.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files_fixture.h"
#include "platform/error.h"
#include "platform/files/committed_write.h"
#include "platform/files/confined.h"

using namespace files_test;
using platform::files::CommitStep;
using platform::files::ConfinedRoot;
using platform::files::FolderListings;
using platform::files::OnExisting;
using platform::files::ScopedCommitHook;

namespace {

class CopyToNewName : public FilesTest {
  protected:
    void SetUp() override {
        fs::create_directories(c() + "/src");
        fs::create_directories(c() + "/t/sub");
        writeBytes(c() + "/src/a.txt", std::string(100000, 'a'));
    }
    std::vector<std::string> namesIn(const std::string& folder) const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename());
        return out;
    }
    // Copies src\a.txt to sub\new.txt through roots of a run.
    static void copy(const std::string& c, OnExisting onExisting) {
        FolderListings listings;
        ConfinedRoot target = ConfinedRoot::openNative(c + "/t");
        target.useListings(&listings);
        ConfinedRoot source = ConfinedRoot::openNative(c + "/src");
        source.useListings(&listings);
        target.copyInto("sub\\new.txt", source, "a.txt", onExisting);
    }
};

TEST_F(CopyToNewName, CutShortAtEachStepItLeavesNothingOrTheWholeCopy) {
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        fs::remove_all(c() + "/t/sub");
        fs::create_directories(c() + "/t/sub");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int seen = 0;
            const ScopedCommitHook hook([&](CommitStep, const std::string&) {
                if (++seen == step) ::_exit(0);
            });
            copy(c(), OnExisting::Replace);
            ::_exit(1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const std::vector<std::string> names = namesIn(c() + "/t/sub");
        if (!names.empty()) {
            EXPECT_EQ(names, std::vector<std::string>{"new.txt"});
            EXPECT_EQ(readBytes(c() + "/t/sub/new.txt"), std::string(100000, 'a'));
        }
        if (WEXITSTATUS(status) == 1) {
            EXPECT_EQ(names, std::vector<std::string>{"new.txt"});
            break;
        }
    }
}

TEST_F(CopyToNewName, ANameThatComesMeanwhileIsReplacedOrRefused) {
    for (const OnExisting onExisting : {OnExisting::Replace, OnExisting::Refuse}) {
        const bool replace = onExisting == OnExisting::Replace;
        SCOPED_TRACE(replace ? "replace" : "refuse");
        fs::remove_all(c() + "/t/sub");
        fs::create_directories(c() + "/t/sub");
        // Another program makes the name just before the copy takes it.
        const ScopedCommitHook hook([&](CommitStep step, const std::string&) {
            if (step == CommitStep::Rename) writeBytes(c() + "/t/sub/new.txt", "theirs");
        });
        if (replace) {
            copy(c(), onExisting);
            EXPECT_EQ(readBytes(c() + "/t/sub/new.txt"), std::string(100000, 'a'));
        } else {
            EXPECT_EQ(errorOf([&] { copy(c(), onExisting); }), platform::err::FileExists);
            EXPECT_EQ(readBytes(c() + "/t/sub/new.txt"), "theirs");
        }
        EXPECT_EQ(namesIn(c() + "/t/sub"), std::vector<std::string>{"new.txt"});
    }
}

// A run's listing of a folder takes a name it does not hold for missing
// without a look of its own: a name another program makes after the listing
// was read is met when the copy is linked, and replaced or refused as asked.
TEST_F(CopyToNewName, ANameMadeAfterTheRunsListingIsMetAtTheLink) {
    for (const OnExisting onExisting : {OnExisting::Replace, OnExisting::Refuse}) {
        const bool replace = onExisting == OnExisting::Replace;
        SCOPED_TRACE(replace ? "replace" : "refuse");
        fs::remove_all(c() + "/t/sub");
        fs::create_directories(c() + "/t/sub");
        FolderListings listings;
        ConfinedRoot target = ConfinedRoot::openNative(c() + "/t");
        target.useListings(&listings);
        ConfinedRoot source = ConfinedRoot::openNative(c() + "/src");
        source.useListings(&listings);
        // The first copy reads the listing of sub; then the name comes.
        target.copyInto("sub\\first.txt", source, "a.txt", onExisting);
        writeBytes(c() + "/t/sub/second.txt", "theirs");
        if (replace) {
            target.copyInto("sub\\second.txt", source, "a.txt", onExisting);
            EXPECT_EQ(readBytes(c() + "/t/sub/second.txt"), std::string(100000, 'a'));
        } else {
            EXPECT_EQ(
                errorOf([&] { target.copyInto("sub\\second.txt", source, "a.txt", onExisting); }),
                platform::err::FileExists);
            EXPECT_EQ(readBytes(c() + "/t/sub/second.txt"), "theirs");
        }
        std::vector<std::string> names = namesIn(c() + "/t/sub");
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::string>{"first.txt", "second.txt"}));
    }
}

}  // namespace
