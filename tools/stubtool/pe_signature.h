// Whether a program file carries an Authenticode signature, which any change to its bytes
// invalidates.
#pragma once

#include <span>

namespace stubtool {

// True when image is a PE file (PE32 or PE32+) whose security data directory is not empty.
// False for a PE file without one and for anything that is not a well-formed PE header: every
// read is checked against the size of image.
bool HasAuthenticodeSignature(std::span<const unsigned char> image);

}  // namespace stubtool
