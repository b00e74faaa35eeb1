# Writes the bytes of IN as a C++ array named NS::IDENT into OUT.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" len)
math(EXPR size "${len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n#include <span>\nnamespace ${NS} {\nstatic const unsigned char ${IDENT}_data[${size}] = {\n${bytes}};\nextern const std::span<const unsigned char> ${IDENT}(${IDENT}_data, ${size});\n}\n")
