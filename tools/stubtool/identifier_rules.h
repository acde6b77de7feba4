// What an identifier must be before it is stamped into a stub. The stub puts it, unchecked, into
// the download URL ".../down/<id>/<id>.zip" and into the default install directory
// "c:\<id>\", so the rules keep it to one plain folder name and one plain URL path segment.
#pragma once

#include <string>
#include <string_view>

namespace stubtool {

// Why id (code page 936 bytes) cannot be stamped, as a sentence about "the identifier", or the
// empty text when it can. Refused:
// - an empty identifier, or one longer than the field holds (198 bytes);
// - bytes that are not code page 936 characters as the stub reads them (it takes every byte from
//   0x80 on as the first of two): 0x80 (the euro sign), 0xFF, or a lead byte without a trail byte
//   from 0x40-0x7E or 0x80-0xFE;
// - an identifier that the stub would not read back whole from the field (one holding the end
//   marker);
// - control bytes 0x00-0x1F and 0x7F, the characters \ / : < > " | ? * that a Windows file name
//   cannot hold, and '#', which would end the path of the download URL;
// - "..", a trailing dot or space, and the device names CON, PRN, AUX, NUL, CONIN$, CONOUT$,
//   COM0-COM9 and LPT0-LPT9 in any case, alone or before an extension.
// Spaces elsewhere, '%' and every character of code page 936 are allowed.
std::string IdentifierProblem(std::string_view id);

}  // namespace stubtool
