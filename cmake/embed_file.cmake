# Writes a C++ source that holds the bytes of IN as a constant array named SYMBOL in namespace assets.
# Run as: cmake -DIN=file -DOUT=file.cpp -DSYMBOL=Name -P embed_file.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Break the array into lines of 32 bytes so compiler diagnostics stay readable.
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}.tmp" "// Generated from ${IN}; do not edit.\n#include \"assets/assets.h\"\n\nnamespace assets {\nnamespace {\nconst unsigned char kBytes[${size}] = {\n${bytes}\n};\n}  // namespace\nextern const std::span<const unsigned char> ${SYMBOL}{kBytes, ${size}};\n}  // namespace assets\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
