#include "ansi_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "error.h"

namespace mkpackage {

namespace {

class Converter {
 public:
  Converter() : cd_(iconv_open("WINDOWS-1252", "UTF-8")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw Error(std::string("cannot convert to Windows-1252: ") + std::strerror(errno));
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::string toWindows1252(const std::string& utf8) {
  Converter converter;
  std::string in = utf8;
  // Every Windows-1252 character takes at least one UTF-8 byte, so the output never grows.
  std::string out(in.size(), '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size();
  std::size_t outLeft = out.size();
  if (iconv(converter.get(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
    throw Error("text \"" + utf8 + "\" cannot be written in Windows-1252: " + std::strerror(errno));
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace mkpackage
