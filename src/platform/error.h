// Errors of the platform stand-in: each carries the Windows-style error number
// that the program tests (53 file not found, 68 device unavailable, ...) and
// its description in Simplified Chinese.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace platform {

class Error : public std::runtime_error {
  public:
    Error(int number, std::string description);
    explicit Error(int number);  // description from errorText(number)

    int number() const { return number_; }
    const std::string& description() const { return description_; }

  private:
    int number_;
    std::string description_;
};

// The description shown for an error number ("文件未找到" for 53); a generic
// text for numbers without one of their own.
std::string errorText(int number);

[[noreturn]] void raise(int number);
[[noreturn]] void raise(int number, std::string description);

// The error numbers the program uses, each with its description in
// errorText (error.cpp). Code names them here rather than by number.
namespace err {
inline constexpr int InvalidCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int BadFileName = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int DeviceIO = 57;
inline constexpr int FileExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEnd = 62;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPropertyArrayIndex = 381;
inline constexpr int InvalidPicture = 481;
inline constexpr int IndexOutOfBounds = 35600;
inline constexpr int ElementNotFound = 35601;
inline constexpr int KeyNotUnique = 35602;
inline constexpr int InvalidKey = 35603;
// A tree node or list item used after it was removed from its control.
inline constexpr int ControlDeleted = 35605;
// "Unspecified error": a web browser command it cannot carry out (going back
// at the start of its history, forward at its end).
inline constexpr int Unspecified = -2147467259;
}  // namespace err

// The "skip on error" mode of most commands: each step runs, a failing step is
// skipped, and the number of the last failure stays readable for the test
// that follows it (53 right after opening a file means it does not exist yet).
class SkipOnError {
  public:
    // Runs one step. Returns true when it succeeded; on a platform::Error the
    // error is remembered and false is returned. Other exceptions propagate.
    template <class F>
    bool step(F&& f) {
        try {
            std::forward<F>(f)();
            clear();
            return true;
        } catch (const Error& e) {
            number_ = e.number();
            description_ = e.description();
            return false;
        }
    }

    int number() const { return number_; }
    const std::string& description() const { return description_; }
    void clear() {
        number_ = 0;
        description_.clear();
    }

  private:
    int number_ = 0;
    std::string description_;
};

}  // namespace platform
