# cmake -DINPUT=<file> -DOUTPUT=<header> -DNAME=<array> -P EmbedBytes.cmake
# Writes a C++ header holding the file's bytes as `alignas(8) const unsigned char NAME[]`.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Made by the build from ${INPUT}.\n#pragma once\nalignas(8) inline const unsigned char ${NAME}[] = {${bytes}};\n")
