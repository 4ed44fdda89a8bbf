#pragma once
// What the tests install from and to: the shipped INF as the package carries it, the built
// programs, and the places of a system-wide or a user's installation.
#include <gtest/gtest.h>
#include <iconv.h>

#include <fstream>
#include <iterator>
#include <string>

#include "infinstall/core/places.h"

namespace infinstall {

inline std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The shipped INF as the package carries it: Windows-1252 with CR LF.
inline std::string shippedInfBytes()
{
    std::string utf8 = readAll(KV_SHIPPED_INF), bytes(utf8.size(), '\0');
    iconv_t cd = iconv_open("WINDOWS-1252", "UTF-8");
    char* in = utf8.data();
    char* out = bytes.data();
    size_t inLeft = utf8.size(), outLeft = bytes.size();
    EXPECT_NE(iconv(cd, &in, &inLeft, &out, &outLeft), static_cast<size_t>(-1));
    iconv_close(cd);
    bytes.resize(bytes.size() - outLeft);
    std::string crlf;
    for (char c : bytes)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return crlf;
}

inline Places placesBelow(bool system, const std::string& home)
{
    std::string error;
    return *placesFor(
        system, [&](const char* name) { return name == std::string("HOME") ? home.c_str() : nullptr; },
        error);
}

}  // namespace infinstall
