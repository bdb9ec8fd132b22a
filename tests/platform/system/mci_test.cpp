#include "platform/system/mci.h"

#include <gtest/gtest.h>

using platform::system::FakeMci;
using platform::system::NullMci;

namespace {

TEST(NullMci, AcceptsEverythingAndLeavesReplyUnchanged) {
    NullMci mci;
    std::string reply = "03:15:00";
    EXPECT_EQ(mci.send("status cd length track 3", &reply), 0);
    EXPECT_EQ(reply, "03:15:00");
    EXPECT_EQ(mci.send("play cd", nullptr), 0);
}

TEST(FakeMci, LogsCommandsAndAnswersFromScript) {
    FakeMci mci;
    mci.answer("status cd number of tracks wait", "12");
    mci.answerPrefix("status cd length track ", "04:12:30");
    mci.answerPrefix("status cd length track 1", "01:00:00");  // longer prefix wins
    mci.answer("status cd length track 3", "03:00:00");        // exact wins over prefix

    std::string reply = "old bytes";
    mci.send("status cd number of tracks wait", &reply);
    EXPECT_EQ(reply, "12");
    mci.send("status cd length track 5", &reply);
    EXPECT_EQ(reply, "04:12:30");
    mci.send("status cd length track 12", &reply);
    EXPECT_EQ(reply, "01:00:00");
    mci.send("status cd length track 3", &reply);
    EXPECT_EQ(reply, "03:00:00");
    mci.send("status cd position", &reply);  // unscripted: reply stays
    EXPECT_EQ(reply, "03:00:00");
    mci.send("seek cd to  3", nullptr);  // scripted or not, no buffer is fine

    EXPECT_EQ(mci.commands(), (std::vector<std::string>{
                                  "status cd number of tracks wait", "status cd length track 5",
                                  "status cd length track 12", "status cd length track 3",
                                  "status cd position", "seek cd to  3"}));
}

}  // namespace
