// The package identifier field, alone in its translation unit and in its own section: no other
// unit sees its bytes, so none can fold them into a constant, and the linker keeps the 247 bytes
// as one run in the program file, where packaging finds and rewrites them. The declaration in
// package_id.h fixes the length: a literal of any other length does not compile.
#include "download/package_id.h"

__attribute__((used, section(".pkgid"))) const char PackageIdField[] =
    "#@#@#@#@#@#@#@#@#@#@#@##"
    "1099"
    "#$%$%$%$%$%$%$%$%$%$%$%#"
    // 194 spaces of filler.
    "                                                                                              "
    "   "
    "                                                                                              "
    "   ";
