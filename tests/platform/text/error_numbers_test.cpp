// Every error number the program names has a description of its own.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/error.h"

namespace {

namespace err = platform::err;

TEST(ErrorNumbers, EachNamedNumberHasItsOwnDescription) {
    const int named[] = {
        err::InvalidCall,          err::Overflow,
        err::OutOfMemory,          err::SubscriptOutOfRange,
        err::TypeMismatch,         err::BadFileName,
        err::FileNotFound,         err::DeviceIO,
        err::FileExists,           err::DiskFull,
        err::InputPastEnd,         err::DeviceUnavailable,
        err::PermissionDenied,     err::DiskNotReady,
        err::PathFileAccess,       err::PathNotFound,
        err::InvalidPropertyValue, err::InvalidPropertyArrayIndex,
        err::InvalidPicture,       err::IndexOutOfBounds,
        err::ElementNotFound,      err::KeyNotUnique,
        err::InvalidKey,           err::Unspecified,
    };
    const std::string generic = platform::errorText(1);
    std::set<std::string> seen;
    for (int number : named) {
        const std::string text = platform::errorText(number);
        EXPECT_NE(text, generic) << number;
        EXPECT_TRUE(seen.insert(text).second) << number << " repeats " << text;
    }
    EXPECT_EQ(platform::errorText(err::InputPastEnd), "输入超出文件尾");
    EXPECT_EQ(platform::errorText(err::InvalidPropertyArrayIndex), "无效的属性数组索引");
    EXPECT_EQ(platform::errorText(err::IndexOutOfBounds), "索引超出范围");
    EXPECT_EQ(platform::errorText(err::Unspecified), "未指定的错误");
}

}  // namespace
