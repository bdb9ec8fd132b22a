// Progress values shown at most every interval of a steady clock, the last
// one always shown at the end.
#include "platform/ui/throttled_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::ThrottledText;
using namespace std::chrono_literals;

struct Case {
    const char* what;
    std::vector<int> updateTimesMs;  // one update "v<i>" at each time
    std::vector<std::string> shown;  // after finish()
};

TEST(ThrottledText, ShowsAtMostEveryIntervalAndAlwaysTheLastValue) {
    const Case cases[] = {
        {"nothing given, nothing shown", {}, {}},
        {"the first at once", {0}, {"v0"}},
        {"a burst shows its first and, at the end, its last", {0, 1, 2, 3}, {"v0", "v3"}},
        {"one value per interval passes", {0, 50, 100}, {"v0", "v1", "v2"}},
        {"just under the interval waits and is passed over", {0, 49, 60}, {"v0", "v2"}},
        {"a value already shown is not shown again", {0, 60}, {"v0", "v1"}},
    };
    for (const Case& c : cases) {
        auto now = ThrottledText::Clock::time_point{} + 1h;
        const auto start = now;
        std::vector<std::string> shown;
        ThrottledText t([&](const std::string& s) { shown.push_back(s); }, 50ms,
                        [&] { return now; });
        for (std::size_t i = 0; i < c.updateTimesMs.size(); ++i) {
            now = start + std::chrono::milliseconds(c.updateTimesMs[i]);
            t.update("v" + std::to_string(i));
        }
        t.finish();
        t.finish();  // twice changes nothing
        EXPECT_EQ(shown, c.shown) << c.what;
    }
}

}  // namespace
