// Transfers of http:// and ftp:// URLs over WinInet, each in one of the 50 numbered slots of
// Globals.TransferTable. Slot numbers run from 1 to 50 and 0 stands for failure. Every call blocks
// until WinInet answers. The table has no lock: one thread at a time uses it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The number of the lowest free slot (one whose fields are all zero); 0 when all 50 are occupied.
int FindFreeSlot();

// Opens url (http:// or ftp://, taken apart by ParseTransferUrl) in the lowest free slot and gives
// the slot's number. An omitted argument takes the default of the URL's scheme: for HTTP no user
// name, no password and port 80, for FTP the user "anonymous", no password and port 21; a given
// one, an empty one included, is used unchanged. A port written in the URL is not used: it stays
// part of the server name. Whatever an HTTP server answers, an error page included, opens the
// transfer. Nothing comes from WinInet's cache and nothing is kept in it.
// Gives 0 when the URL is not recognised, no slot is free, WinInet is not available, or the
// session, connection, request or remote file cannot be opened; whatever a failed open had opened
// is closed again and its slot stays free.
int OpenTransfer(std::string_view url, const std::optional<std::string>& userName = std::nullopt,
                 const std::optional<std::string>& password = std::nullopt,
                 std::optional<std::uint16_t> port = std::nullopt);

// The size announced for the transfer in slot: for HTTP the leading decimal digits of its
// Content-Length header, for FTP the size the server listed for the file. 0 when there is none:
// no Content-Length, one that does not begin with a digit or is beyond a 64-bit signed number, a
// file the server did not list, a free slot, a number outside 1 to 50.
std::int64_t GetTransferLength(int slot);

// The status code of the HTTP answer in slot (200, 404, ...); 0 for an FTP transfer, a free slot,
// a number outside 1 to 50, or when WinInet cannot tell it.
int GetTransferStatus(int slot);

// The next bytes of the transfer in slot, at most maxBytes, from one read: fewer may come before
// the end of the data, none come at its end. failed is set, and the result is empty, when the read
// fails (a connection that broke, a free slot, a number outside 1 to 50, a maxBytes below 1) and
// when the data ends before GetTransferLength's bytes have all arrived; it is cleared otherwise,
// so an empty result with failed cleared is the end of the data.
std::vector<unsigned char> ReadTransfer(int slot, int maxBytes, bool& failed);

// The same without the report: an empty result stands both for the end of the data and for a
// failure.
std::vector<unsigned char> ReadTransfer(int slot, int maxBytes);

// Closes the transfer in slot (its request or remote file, its connection and its session, in
// this order) and frees the slot. Gives 1 for every number from 1 to 50, a free slot included,
// and 0 for any other number, which changes nothing.
int CloseTransfer(int slot);
