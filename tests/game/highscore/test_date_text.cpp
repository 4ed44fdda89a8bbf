#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
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

// Compiles the German locale from the system's locale sources into a private
// folder and points glibc at it, for machines where it is not installed.
bool compileGermanLocale()
{
    const auto folder = std::filesystem::temp_directory_path() / "kv-test-locales";
    std::filesystem::create_directories(folder);
    const std::string command = "localedef -i de_DE -f UTF-8 '" + (folder / "de_DE.UTF-8").string() +
                                "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return false;
    return setenv("LOCPATH", folder.c_str(), 1) == 0;
}

bool cutTextMatchesAnInstalledLocale()
{
    // Four-digit years make these longer than the field.
    const std::vector<std::pair<const char*, const char*>> locales{
        {"de_DE.UTF-8", "12.06.1999 16:02:"}, {"de_DE.utf8", "12.06.1999 16:02:"},
        {"en_US.UTF-8", "06/12/1999 04:02:"}, {"en_US.utf8", "06/12/1999 04:02:"}};
    for (const auto& [name, expected] : locales) {
        TimeLocale locale(name);
        if (!locale.active()) continue;
        EXPECT_EQ(dateText(june12()), expected) << name;
        return true;
    }
    return false;
}

TEST(DateText, LongerLocaleTextIsCutToSeventeenCharacters)
{
    if (cutTextMatchesAnInstalledLocale()) return;
    ASSERT_TRUE(compileGermanLocale()) << "localedef could not build de_DE (Debian package locales)";
    EXPECT_TRUE(cutTextMatchesAnInstalledLocale());
    unsetenv("LOCPATH");
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
