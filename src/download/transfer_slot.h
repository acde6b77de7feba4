// One numbered transfer of the transfer table: a slot is free exactly when every field is zero.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstdint>

struct TransferSlot {
  int Scheme = 0;  // 0 while free or opening; then INTERNET_SERVICE_FTP or INTERNET_SERVICE_HTTP
  HINTERNET InternetHandle = nullptr;
  HINTERNET ConnectHandle = nullptr;
  HINTERNET RequestHandle = nullptr;  // HTTP: the request; FTP: the open file
  std::int64_t FileSize = 0;          // FTP only: the size the server listed
};
