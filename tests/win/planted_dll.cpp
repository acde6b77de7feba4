// A library that the startup test plants beside the test program, where a DLL search that still
// looks in the program's folder would find it.
#include <windows.h>

extern "C" __declspec(dllexport) int PlantedLibraryMarker() {
  return 42;
}
