# cmake -DIN=file -DOUT=file.cpp -DNAME=symbol -P Embed.cmake
# Writes a C++ source that holds the file's bytes as vx::NAME and its size
# as vx::NAMESize.
file(READ ${IN} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n#include <cstddef>\nnamespace vx {\nextern const unsigned char ${NAME}[] = {\n${bytes}\n};\nextern const size_t ${NAME}Size = sizeof(${NAME});\n}  // namespace vx\n")
