#include "tools/mkpackage/file_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "tools/mkpackage/error.h"

namespace mkpackage {

namespace {

Error fileError(const char* action, const std::string& path)
{
    return Error(std::string("cannot ") + action + " " + path + ": " + std::strerror(errno));
}

}  // namespace

Bytes readFile(const std::string& path)
{
    errno = 0;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        throw fileError("open", path);
    const std::streamoff size = in.tellg();
    if (size < 0)
        throw fileError("measure", path);
    Bytes bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.gcount() != size)
        throw fileError("read", path);
    return bytes;
}

void writeFile(const std::string& path, const Bytes& bytes)
{
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw fileError("create", path);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw fileError("write", path);
}

std::time_t fileModificationTime(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        throw fileError("inspect", path);
    return st.st_mtime;
}

}  // namespace mkpackage
