// One program per program folder: the folder's lock.
#include "platform/files/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "support/error_of.h"
#include "support/temp_folder.h"

namespace {

using platform::files::InstanceLock;
namespace fs = std::filesystem;

// Whether another process can take the folder's lock now (a second start).
bool anotherProcessGetsIt(const std::string& folder) {
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) ::_exit(InstanceLock::tryAcquire(folder) ? 0 : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(InstanceLock, OneHolderPerFolderUntilItEnds) {
    testsupport::TempFolder tmp;
    const std::string a = (tmp.path() / "a").string(), b = (tmp.path() / "b").string();
    fs::create_directories(a);
    fs::create_directories(b);
    {
        std::optional<InstanceLock> first = InstanceLock::tryAcquire(a);
        ASSERT_TRUE(first);
        EXPECT_TRUE(fs::exists(fs::path(a) / ".zelbrin.lock"));
        // Neither another lock of this process nor another process gets it.
        EXPECT_FALSE(InstanceLock::tryAcquire(a));
        EXPECT_FALSE(anotherProcessGetsIt(a));
        // Through a link to the folder it is the same lock.
        fs::create_directory_symlink(a, tmp.path() / "link");
        EXPECT_FALSE(InstanceLock::tryAcquire((tmp.path() / "link").string()));
        // Another folder runs beside it.
        EXPECT_TRUE(anotherProcessGetsIt(b));
        std::optional<InstanceLock> other = InstanceLock::tryAcquire(b);
        EXPECT_TRUE(other);
        // A lock moved keeps holding.
        InstanceLock moved = std::move(*first);
        first.reset();
        EXPECT_FALSE(anotherProcessGetsIt(a));
    }
    // Released with its holder; the file stays.
    EXPECT_TRUE(anotherProcessGetsIt(a));
    EXPECT_TRUE(InstanceLock::tryAcquire(a));
    EXPECT_TRUE(fs::exists(fs::path(a) / ".zelbrin.lock"));
}

TEST(InstanceLock, AProcessThatDiesLeavesTheFolderFree) {
    testsupport::TempFolder tmp;
    const std::string a = tmp.path().string();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        static std::optional<InstanceLock> held = InstanceLock::tryAcquire(a);
        ::_exit(held ? 0 : 1);  // dies holding it, without any clean-up
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(InstanceLock::tryAcquire(a));
}

TEST(InstanceLock, AMissingFolderRaises) {
    testsupport::TempFolder tmp;
    EXPECT_EQ(
        testsupport::errorOf([&] { InstanceLock::tryAcquire((tmp.path() / "missing").string()); }),
        76);
}

}  // namespace

namespace {

using platform::files::FolderLock;

// The lock of a folder itself: one holder, released with it; nothing is
// made in the folder.
TEST(FolderLock, OneHolderPerFolderAndNothingMade) {
    testsupport::TempFolder tmp;
    const std::string a = tmp.path().string();
    FolderLock::Outcome outcome{};
    {
        FolderLock first = FolderLock::tryAcquire(a, outcome);
        EXPECT_EQ(outcome, FolderLock::Outcome::Taken);
        EXPECT_TRUE(first.held());
        const FolderLock second = FolderLock::tryAcquire(a, outcome);
        EXPECT_EQ(outcome, FolderLock::Outcome::Held);
        EXPECT_FALSE(second.held());
        // A lock moved keeps holding.
        const FolderLock moved = std::move(first);
        (void)FolderLock::tryAcquire(a, outcome);
        EXPECT_EQ(outcome, FolderLock::Outcome::Held);
    }
    EXPECT_TRUE(FolderLock::tryAcquire(a, outcome).held());
    EXPECT_EQ(outcome, FolderLock::Outcome::Taken);
    EXPECT_TRUE(fs::is_empty(a));
    platform::files::setFolderLocksUnavailable(true);
    EXPECT_FALSE(FolderLock::tryAcquire(a, outcome).held());
    EXPECT_EQ(outcome, FolderLock::Outcome::Unavailable);
    platform::files::setFolderLocksUnavailable(false);
}

// A process is running while it lives, by its id and start time; a text of
// another boot or no text is told apart.
TEST(FolderLock, AProcessIsToldRunningByItsIdAndStartTime) {
    const std::string me = platform::files::processIdentity();
    ASSERT_FALSE(me.empty());
    EXPECT_EQ(platform::files::processRunning(me), true);
    EXPECT_EQ(platform::files::processRunning(""), std::nullopt);
    EXPECT_EQ(platform::files::processRunning("x y"), std::nullopt);
    const std::string otherBoot = me.substr(0, me.rfind(' ')) + " another-boot";
    EXPECT_EQ(platform::files::processRunning(otherBoot), false);
    // Another start time under the same id.
    const std::size_t space = me.find(' ');
    const std::string restarted = me.substr(0, space) + " 1" + me.substr(me.find(' ', space + 1));
    EXPECT_EQ(platform::files::processRunning(restarted), false);
}

}  // namespace
