#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/highscore/date_text.h"
#include "tests/support/scratch_folder.h"

namespace kv {
namespace {

std::tm timeOf(int year, int month, int day, int hour, int minute, int second)
{
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
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

// Compiles UTF-8 locales from the system's locale sources (Debian package locales) into a
// private folder and points glibc at it, so the test does not depend on what is installed.
class CompiledLocales : public test::ScratchFolder {
public:
    explicit CompiledLocales(const std::vector<std::string>& names) : ScratchFolder("kv_locales")
    {
        for (const std::string& name : names) {
            const std::string command = "localedef -i " + name + " -f UTF-8 '" +
                                        (path() / (name + ".UTF-8")).string() + "' >/dev/null 2>&1";
            // localedef ends with status 1 for mere warnings about its sources, so whether a
            // locale can be used is asked of setlocale instead.
            [[maybe_unused]] const int status = std::system(command.c_str());
        }
        setenv("LOCPATH", path().c_str(), 1);
    }
    ~CompiledLocales() { unsetenv("LOCPATH"); }
};

TEST(DateText, IsTheShortDateWithATwoDigitYearABlankAndTheTimeWithSeconds)
{
    const CompiledLocales locales({"de_DE", "en_US", "ja_JP"});
    struct Case {
        const char* locale;
        std::tm time;
        const char* text;
    };
    const std::vector<Case> cases{
        {"de_DE.UTF-8", timeOf(1999, 6, 12, 16, 2, 47), "12.06.99 16:02:47"},
        {"de_DE.UTF-8", timeOf(2024, 1, 5, 9, 8, 7), "05.01.24 09:08:07"},
        // The 12-hour clock, "04:02:47 PM", would leave no room for the seconds.
        {"en_US.UTF-8", timeOf(1999, 6, 12, 16, 2, 47), "06/12/99 16:02:47"},
        // "99年06月12日 16:02:47" is 18 characters even with the two-digit year.
        {"ja_JP.UTF-8", timeOf(2031, 12, 24, 23, 59, 58), "31-12-24 23:59:58"},
        {"C", timeOf(2000, 2, 29, 0, 0, 0), "02/29/00 00:00:00"},
    };
    for (const Case& c : cases) {
        const TimeLocale locale(c.locale);
        ASSERT_TRUE(locale.active()) << c.locale << " could not be built by localedef";
        EXPECT_EQ(dateText(c.time), c.text) << c.locale;
    }
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
