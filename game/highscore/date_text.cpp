#include "game/highscore/date_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <cwchar>

#include "game/highscore/ansi_text.h"

namespace kv {
namespace {

// Wide characters are the same whatever character set the locale uses, so formatting wide and
// converting to UTF-8 works under every locale.
std::string toUtf8(const std::wstring& wide)
{
    iconv_t descriptor = iconv_open("UTF-8", "WCHAR_T");
    if (descriptor == reinterpret_cast<iconv_t>(-1))
        return {};
    std::string result(wide.size() * 4, '\0');
    char* in = reinterpret_cast<char*>(const_cast<wchar_t*>(wide.data()));
    std::size_t inLeft = wide.size() * sizeof(wchar_t);
    char* out = result.data();
    std::size_t outLeft = result.size();
    iconv(descriptor, &in, &inLeft, &out, &outLeft);  // stops at an unconvertible character
    iconv_close(descriptor);
    result.resize(result.size() - outLeft);
    return result;
}

std::wstring format(const std::wstring& pattern, const std::tm& time)
{
    wchar_t buffer[128];
    const std::size_t length = std::wcsftime(buffer, std::size(buffer), pattern.c_str(), &time);
    return std::wstring(buffer, length);
}

// The locale's formats in wide characters, so that they need no conversion from the locale's
// own character set, which LC_CTYPE may not name.
std::wstring localeFormat(nl_item item)
{
    const auto* wide = reinterpret_cast<const wchar_t*>(nl_langinfo(item));
    return wide ? std::wstring(wide) : std::wstring();
}

// `pattern` with every four-digit year turned into a two-digit one.
std::wstring withTwoDigitYear(const std::wstring& pattern)
{
    std::wstring result;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'%') {
            result += pattern[i];
            continue;
        }
        // A conversion: flags, a width and an E or O modifier may stand before its letter.
        std::size_t end = pattern.find_first_not_of(L"_-0^#123456789EO", i + 1);
        if (end == std::wstring::npos)
            end = pattern.size() - 1;
        const bool plain = pattern.find_first_of(L"EO", i + 1) >= end;
        switch (plain ? pattern[end] : L'\0') {
        case L'Y':
            result += L"%y";
            break;
        case L'G':
            result += L"%g";
            break;
        case L'F':
            result += L"%y-%m-%d";
            break;
        default:
            result += pattern.substr(i, end - i + 1);
        }
        i = end;
    }
    return result;
}

bool showsSeconds(const std::wstring& pattern, std::tm time)
{
    const std::wstring first = format(pattern, time);
    time.tm_sec = (time.tm_sec + 1) % 60;
    return format(pattern, time) != first;
}

}  // namespace

std::string dateText(const std::tm& local)
{
    const std::wstring date = withTwoDigitYear(localeFormat(_NL_WD_FMT));
    const std::wstring time = localeFormat(_NL_WT_FMT);
    std::wstring text = format(date + L' ' + time, local);
    if (!showsSeconds(time, local) || text.size() > kDateTextLength)
        text = format(date + L" %H:%M:%S", local);
    if (text.size() > kDateTextLength)
        text = format(L"%y-%m-%d %H:%M:%S", local);
    return cutToCharacters(toUtf8(text), kDateTextLength);
}

std::string currentDateText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return dateText(local);
}

}  // namespace kv
