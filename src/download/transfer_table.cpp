#include "download/transfer_table.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>

#include "app/shared_state.h"
#include "download/transfer_url.h"
#include "download/wininet_api.h"

static_assert(kTransferUrlFtp == INTERNET_SERVICE_FTP && kTransferUrlHttp == INTERNET_SERVICE_HTTP);

namespace {

constexpr char kAgent[] = "kvr-ptm-internet-appliction";
// A download always comes from the server, and WinInet keeps no copy of it.
constexpr DWORD kHttpRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kFtpFindFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
constexpr DWORD kFtpOpenFlags = FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD;

// What each slot's transfer has delivered so far, slot n at n - 1. WinInet ends the data of a
// connection that closes early, or is reset once everything sent has arrived, as it ends a whole
// body; only this count against the announced length tells the two apart.
std::array<std::int64_t, kTransferSlotCount> deliveredBytes{};

// Null for a number outside 1 to 50.
TransferSlot* SlotAt(int number) {
  if (number < 1 || number > kTransferSlotCount || !Globals.TransferTable) return nullptr;
  return (*Globals.TransferTable)[number - 1].get();
}

bool IsFree(const TransferSlot& slot) {
  return slot.Scheme == 0 && !slot.InternetHandle && !slot.ConnectHandle && !slot.RequestHandle &&
         slot.FileSize == 0;
}

// 0 when text does not begin with a digit or the number is beyond 64 bits.
std::int64_t LeadingNumber(std::string_view text) {
  std::uint64_t value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || value > std::numeric_limits<std::int64_t>::max()) return 0;
  return static_cast<std::int64_t>(value);
}

// The size of the remote file as the server lists it, 0 when it is not listed. The listing is
// closed before this returns: an FTP session runs one command at a time.
std::int64_t ListedFileSize(const WinInetApi& api, HINTERNET connection, const std::string& path) {
  WIN32_FIND_DATAA found{};
  const UniqueInternetHandle listing(
      api.FtpFindFirstFileA(connection, path.c_str(), &found, kFtpFindFlags, 0));
  if (!listing) return 0;
  return static_cast<std::int64_t>(std::uint64_t{found.nFileSizeHigh} << 32 | found.nFileSizeLow);
}

}  // namespace

int FindFreeSlot() {
  for (int number = 1; number <= kTransferSlotCount; ++number) {
    const TransferSlot* slot = SlotAt(number);
    if (slot && IsFree(*slot)) return number;
  }
  return 0;
}

int OpenTransfer(std::string_view url, const std::optional<std::string>& userName,
                 const std::optional<std::string>& password, std::optional<std::uint16_t> port) {
  std::string server;
  std::string objectPath;
  const int scheme = ParseTransferUrl(url, server, objectPath);
  if (scheme == 0) return 0;
  const bool http = scheme == kTransferUrlHttp;
  const std::string user = userName.value_or(http ? "" : "anonymous");
  const std::string secret = password.value_or("");
  const INTERNET_PORT serverPort =
      port.value_or(http ? INTERNET_DEFAULT_HTTP_PORT : INTERNET_DEFAULT_FTP_PORT);

  const int number = FindFreeSlot();
  const WinInetApi* api = WinInet();
  if (number == 0 || !api) return 0;

  // Declared in the order they are opened, so that a failed open closes them in the reverse one,
  // and the slot stays free until the transfer is open.
  UniqueInternetHandle session(
      api->InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return 0;
  UniqueInternetHandle connection(api->InternetConnectA(
      session.get(), server.c_str(), serverPort, user.c_str(), secret.c_str(), scheme, 0, 0));
  if (!connection) return 0;
  UniqueInternetHandle request;
  std::int64_t fileSize = 0;
  if (http) {
    const char* acceptTypes[] = {"*/*", nullptr};
    request.reset(api->HttpOpenRequestA(connection.get(), "GET", objectPath.c_str(), "HTTP/1.1",
                                        nullptr, acceptTypes, kHttpRequestFlags, 0));
    if (!request) return 0;
    if (!api->HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return 0;
  } else {
    fileSize = ListedFileSize(*api, connection.get(), objectPath);
    request.reset(
        api->FtpOpenFileA(connection.get(), objectPath.c_str(), GENERIC_READ, kFtpOpenFlags, 0));
    if (!request) return 0;
  }

  TransferSlot& slot = *SlotAt(number);
  slot.InternetHandle = session.release();
  slot.ConnectHandle = connection.release();
  slot.RequestHandle = request.release();
  slot.FileSize = fileSize;
  slot.Scheme = scheme;
  deliveredBytes[number - 1] = 0;
  return number;
}

std::int64_t GetTransferLength(int number) {
  const TransferSlot* slot = SlotAt(number);
  const WinInetApi* api = WinInet();
  if (!slot || !api) return 0;
  if (slot->Scheme == kTransferUrlFtp) return slot->FileSize;
  if (slot->Scheme != kTransferUrlHttp) return 0;
  char value[100] = {};
  DWORD length = sizeof value;
  DWORD index = 0;
  if (!api->HttpQueryInfoA(slot->RequestHandle, HTTP_QUERY_CONTENT_LENGTH, value, &length,
                           &index)) {
    return 0;
  }
  return LeadingNumber(std::string_view(value, strnlen(value, sizeof value)));
}

int GetTransferStatus(int number) {
  const TransferSlot* slot = SlotAt(number);
  const WinInetApi* api = WinInet();
  if (!slot || !api || slot->Scheme != kTransferUrlHttp) return 0;
  DWORD status = 0;
  DWORD length = sizeof status;
  DWORD index = 0;
  if (!api->HttpQueryInfoA(slot->RequestHandle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER,
                           &status, &length, &index)) {
    return 0;
  }
  return static_cast<int>(status);
}

std::vector<unsigned char> ReadTransfer(int number, int maxBytes, bool& failed) {
  failed = true;
  const TransferSlot* slot = SlotAt(number);
  const WinInetApi* api = WinInet();
  if (!slot || !api || maxBytes < 1) return {};
  std::vector<unsigned char> chunk(static_cast<std::size_t>(maxBytes));
  DWORD read = 0;
  if (!api->InternetReadFile(slot->RequestHandle, chunk.data(), static_cast<DWORD>(maxBytes),
                             &read)) {
    return {};
  }
  chunk.resize(std::min<std::size_t>(read, chunk.size()));
  std::int64_t& delivered = deliveredBytes[number - 1];
  delivered += static_cast<std::int64_t>(chunk.size());
  failed = chunk.empty() && delivered < GetTransferLength(number);
  return chunk;
}

std::vector<unsigned char> ReadTransfer(int number, int maxBytes) {
  bool failed = false;
  return ReadTransfer(number, maxBytes, failed);
}

int CloseTransfer(int number) {
  TransferSlot* slot = SlotAt(number);
  if (!slot) return 0;
  // Handles are only ever stored by an open that bound WinInet.
  for (HINTERNET handle : {slot->RequestHandle, slot->ConnectHandle, slot->InternetHandle}) {
    if (handle) WinInet()->InternetCloseHandle(handle);
  }
  *slot = TransferSlot{};
  deliveredBytes[number - 1] = 0;
  return 1;
}
