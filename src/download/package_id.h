// The identifier of the package this stub stands for, read from the field that packaging
// rewrites in the program file.
#pragma once

#include <string>

#include "download/package_id_layout.h"

// The field as it stands in the program file: IdFieldSize bytes and a NUL, laid out as
// package_id_layout.h describes. Defined once, in package_id_field.cpp.
extern const char PackageIdField[IdFieldSize + 1];

// The identifier between IdStartMarker and IdEndMarker in PackageIdField, as it stands in the
// running program's file ("1099" as delivered), untrimmed. Empty when the field lacks a start
// marker or an end marker behind it.
std::string ReadPackageId();
