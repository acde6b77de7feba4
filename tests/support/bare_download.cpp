// The download loop alone, with nothing drawn between chunks: the yardstick the download benchmark
// holds the stub against.
//   bare_download HOST PATH FILE
// fetches http://HOST/PATH on port 80 with the WinInet calls, agent, accept type and flags the stub
// uses, reads it in chunks of 10240 bytes and writes each chunk to FILE the way the stub writes its
// package file (created or truncated, shared for reading and writing). Ends with 0 once the data
// has ended, 1 when the request could not be made or the file not created, 2 on a wrong command
// line.
#include <windows.h>
#include <wininet.h>

#include <vector>

#include "toolkit/handles.h"

namespace {

constexpr char kAgent[] = "kvr-ptm-internet-appliction";
constexpr DWORD kChunkBytes = 10240;

struct InternetTraits {
  using Value = HINTERNET;
  static Value Invalid() { return nullptr; }
  static void Close(Value handle) { InternetCloseHandle(handle); }
};
using Internet = tk::UniqueHandle<InternetTraits>;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  Internet session(InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return 1;
  Internet connection(InternetConnectA(session.get(), argv[1], INTERNET_DEFAULT_HTTP_PORT, "", "",
                                       INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return 1;
  const char* accept_types[] = {"*/*", nullptr};
  Internet request(HttpOpenRequestA(connection.get(), "GET", argv[2], "HTTP/1.1", nullptr,
                                    accept_types,
                                    INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
  if (!request || !HttpSendRequestA(request.get(), nullptr, 0, nullptr, 0)) return 1;
  tk::UniqueFile file(CreateFileA(argv[3], GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;

  std::vector<unsigned char> chunk(kChunkBytes);
  DWORD read = 0;
  while (InternetReadFile(request.get(), chunk.data(), kChunkBytes, &read) && read > 0) {
    DWORD written = 0;
    WriteFile(file.get(), chunk.data(), read, &written, nullptr);
  }
  return 0;
}
