// The error type of the platform and the "skip on error" mode of commands.
#include "platform/error.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

namespace {

using platform::Error;
using platform::SkipOnError;

TEST(ErrorText, TheNumbersTheProgramShowsHaveTheirDescriptions) {
    const std::pair<int, const char*> cases[] = {
        {5, "无效的过程调用或参数"}, {52, "文件名或文件号错误"}, {53, "文件未找到"},
        {58, "文件已存在"},          {68, "设备不可用"},         {70, "没有权限"},
        {75, "路径/文件访问错误"},   {76, "路径未找到"},
    };
    for (const auto& [number, text] : cases) {
        EXPECT_EQ(platform::errorText(number), text) << number;
        const Error e(number);
        EXPECT_EQ(e.number(), number);
        EXPECT_EQ(e.description(), text);
    }
}

TEST(SkipOnError, AFailedStepIsSkippedAndItsNumberStaysForTheTestThatFollows) {
    SkipOnError onError;
    std::string done;
    EXPECT_FALSE(onError.step([&] {
        done += "a";
        platform::raise(53);
        done += "never";
    }));
    EXPECT_EQ(done, "a");
    EXPECT_EQ(onError.number(), 53);
    EXPECT_EQ(onError.description(), "文件未找到");

    // The next step that fails replaces the number; one that succeeds clears it.
    EXPECT_FALSE(onError.step([] { throw Error(68, "设备不可用"); }));
    EXPECT_EQ(onError.number(), 68);
    EXPECT_TRUE(onError.step([&] { done += "b"; }));
    EXPECT_EQ(done, "ab");
    EXPECT_EQ(onError.number(), 0);
    EXPECT_EQ(onError.description(), "");
}

TEST(SkipOnError, OnlyPlatformErrorsAreSkipped) {
    SkipOnError onError;
    EXPECT_THROW(onError.step([] { throw std::logic_error("a fault of the program"); }),
                 std::logic_error);
    EXPECT_EQ(onError.number(), 0);
}

}  // namespace
