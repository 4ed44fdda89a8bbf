#include "highscore/date_text.h"

#include <iconv.h>

#include <cwchar>

#include "highscore/ansi_text.h"

namespace kv {
namespace {

// Wide characters are the same whatever character set the locale uses, so formatting wide and
// converting to UTF-8 works under every locale.
std::string toUtf8(const std::wstring& wide)
{
    iconv_t descriptor = iconv_open("UTF-8", "WCHAR_T");
    if (descriptor == reinterpret_cast<iconv_t>(-1)) return {};
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

}  // namespace

std::string dateText(const std::tm& local)
{
    wchar_t buffer[128];
    const std::size_t length = std::wcsftime(buffer, std::size(buffer), L"%x %X", &local);
    return cutToCharacters(toUtf8(std::wstring(buffer, length)), kDateTextLength);
}

std::string currentDateText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return dateText(local);
}

}  // namespace kv
