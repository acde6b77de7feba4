#include "download/package_id.h"

std::string ReadPackageId() {
  const char* field = PackageIdField;
  // The empty asm tells the compiler nothing about where the pointer now points, so the bytes are
  // read from the program's data at run time: a stamped program reads its own identifier, not a
  // copy of the delivered one folded in at compile time.
  asm("" : "+r"(field));
  const std::string_view whole(field, IdFieldSize + 1);
  return IdInField(whole.substr(0, whole.find('\0')));
}
