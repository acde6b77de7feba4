// The two kinds of URL the transfer layer opens, taken apart into what WinInet connects to.
#pragma once

#include <string>
#include <string_view>

// The kind of a transfer URL, numbered as WinInet numbers its services (INTERNET_SERVICE_FTP and
// INTERNET_SERVICE_HTTP), so that the number serves as the service of the connection.
constexpr int kTransferUrlFtp = 1;
constexpr int kTransferUrlHttp = 3;

// Takes an http:// or ftp:// URL apart. Leading and trailing spaces (the ASCII space and the
// ideographic space A1 A1) are ignored; tabs and line breaks are not. The scheme is matched
// case-sensitively. The server is everything between the scheme and the first "/" behind it, a
// port or user information written there included; the object path is that "/" and everything
// behind it, unescaped, query and fragment included.
// Gives kTransferUrlHttp or kTransferUrlFtp and writes server and objectPath; gives 0 for any
// other text (another scheme, no "/" behind the server) and leaves both untouched.
int ParseTransferUrl(std::string_view url, std::string& server, std::string& objectPath);
