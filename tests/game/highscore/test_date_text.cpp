#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <utility>
#include <vector>

#include "highscore/date_text.h"

namespace kv {
namespace {

std::tm june12()
{
    std::tm time{};
    time.tm_year = 99;
    time.tm_mon = 5;
    time.tm_mday = 12;
    time.tm_hour = 16;
    time.tm_min = 2;
    time.tm_sec = 47;
    return time;
}

// Sets LC_TIME for one test and restores it afterwards.
class TimeLocale {
public:
    explicit TimeLocale(const char* name) : previous_(std::setlocale(LC_TIME, nullptr))
    {
        active_ = std::setlocale(LC_TIME, name) != nullptr;
    }
    ~TimeLocale() { std::setlocale(LC_TIME, previous_.c_str()); }
    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

TEST(DateText, IsTheShortDateABlankAndTheLongTime)
{
    TimeLocale locale("C.UTF-8");
    ASSERT_TRUE(locale.active());
    EXPECT_EQ(dateText(june12()), "06/12/99 16:02:47");
}

TEST(DateText, LongerLocaleTextIsCutToSeventeenCharacters)
{
    // Four-digit years make these longer than the field; whichever is installed is tried.
    const std::vector<std::pair<const char*, const char*>> locales{
        {"de_DE.UTF-8", "12.06.1999 16:02:"}, {"de_DE.utf8", "12.06.1999 16:02:"},
        {"en_US.UTF-8", "06/12/1999 04:02:"}, {"en_US.utf8", "06/12/1999 04:02:"}};
    for (const auto& [name, expected] : locales) {
        TimeLocale locale(name);
        if (!locale.active()) continue;
        EXPECT_EQ(dateText(june12()), expected) << name;
        return;
    }
    GTEST_SKIP() << "no German or US locale installed";
}

TEST(DateText, CurrentDateTextHasTheSameForm)
{
    TimeLocale locale("C.UTF-8");
    const std::string text = currentDateText();
    ASSERT_EQ(text.size(), 17u);
    EXPECT_EQ(text[2], '/');
    EXPECT_EQ(text[8], ' ');
    EXPECT_EQ(text[11], ':');
}

}  // namespace
}  // namespace kv
