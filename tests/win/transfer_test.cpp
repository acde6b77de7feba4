// The transfer table under Wine against real servers. tests/e2e/test_transfer.py runs this program
// with the servers up and checks their logs afterwards; it names them in the environment:
//   STUB_TRANSFER_ROOT        the folder every server serves (a Windows path)
//   STUB_TRANSFER_NGINX_PORT  nginx on 127.0.0.1 (our package server has port 80)
//   STUB_TRANSFER_FTP_PORT    the FTP server on 127.0.0.1
//   STUB_TRANSFER_CLOSED_PORT a port of 127.0.0.1 that nothing listens on
// Paths with a fault mode of the package server are set up by the script under the same names.
#include <gtest/gtest.h>
#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/shared_state.h"
#include "download/transfer_table.h"
#include "toolkit/startup.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr int kChunk = 10240;

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) ADD_FAILURE() << name << " is not set: run this through test_transfer.py";
  return value ? value : "";
}

std::uint16_t EnvPort(const char* name) {
  return static_cast<std::uint16_t>(std::atoi(Env(name).c_str()));
}

std::string RootFile(const std::string& name) {
  return Env("STUB_TRANSFER_ROOT") + "\\" + name;
}

Bytes FileBytes(const std::string& name) {
  std::ifstream file(RootFile(name), std::ios::binary);
  EXPECT_TRUE(file) << RootFile(name);
  return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& name, const std::string& content) {
  std::ofstream file(RootFile(name), std::ios::binary | std::ios::trunc);
  file << content;
  ASSERT_TRUE(file) << RootFile(name);
}

const TransferSlot& Slot(int number) {
  return *(*Globals.TransferTable)[number - 1];
}

bool IsFree(const TransferSlot& slot) {
  return slot.Scheme == 0 && !slot.InternetHandle && !slot.ConnectHandle && !slot.RequestHandle &&
         slot.FileSize == 0;
}

int OccupiedSlots() {
  int count = 0;
  for (int number = 1; number <= kTransferSlotCount; ++number) count += !IsFree(Slot(number));
  return count;
}

// Everything the transfer delivers, read as the download does, in chunks of 10240 bytes; failed
// tells how the reading ended.
struct Received {
  Bytes bytes;
  bool failed = false;
  int reads = 0;
};

Received ReadToEnd(int slot) {
  Received received;
  for (;;) {
    const Bytes chunk = ReadTransfer(slot, kChunk, received.failed);
    ++received.reads;
    EXPECT_LE(chunk.size(), static_cast<std::size_t>(kChunk));
    if (chunk.empty()) return received;
    EXPECT_FALSE(received.failed);
    received.bytes.insert(received.bytes.end(), chunk.begin(), chunk.end());
  }
}

// The same through the read that does not tell a failure from the end.
Bytes ReadToEmptyChunk(int slot) {
  Bytes bytes;
  for (Bytes chunk; !(chunk = ReadTransfer(slot, kChunk)).empty();) {
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
  }
  return bytes;
}

// WinInet's cache functions, looked up as the layer looks up its own: the test does not import
// wininet.dll either.
template <typename Function>
Function CacheFunction(const char* name) {
  static const HMODULE wininet = tk::LoadSystemLibrary("wininet.dll");
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(wininet, name)));
}

// The addresses of WinInet's cache entries whose address contains part.
std::vector<std::string> CachedUrls(const std::string& part) {
  const auto findFirst =
      CacheFunction<decltype(&::FindFirstUrlCacheEntryA)>("FindFirstUrlCacheEntryA");
  const auto findNext =
      CacheFunction<decltype(&::FindNextUrlCacheEntryA)>("FindNextUrlCacheEntryA");
  const auto findClose = CacheFunction<decltype(&::FindCloseUrlCache)>("FindCloseUrlCache");
  EXPECT_TRUE(findFirst && findNext && findClose);
  if (!findFirst || !findNext || !findClose) return {};
  std::vector<std::string> urls;
  std::vector<unsigned char> buffer(64 * 1024);
  auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
  DWORD size = static_cast<DWORD>(buffer.size());
  HANDLE find = findFirst(nullptr, entry, &size);
  if (!find) return urls;
  do {
    const std::string url = entry->lpszSourceUrlName ? entry->lpszSourceUrlName : "";
    if (url.find(part) != std::string::npos) urls.push_back(url);
    size = static_cast<DWORD>(buffer.size());
  } while (findNext(find, entry, &size));
  findClose(find);
  return urls;
}

void DeleteCachedUrls(const std::string& part) {
  const auto remove = CacheFunction<decltype(&::DeleteUrlCacheEntryA)>("DeleteUrlCacheEntryA");
  ASSERT_NE(remove, nullptr);
  for (const std::string& url : CachedUrls(part)) remove(url.c_str());
  ASSERT_EQ(CachedUrls(part), std::vector<std::string>{});
}

bool IsPrefix(const Bytes& part, const Bytes& whole) {
  return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

class TransferTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!Globals.TransferTable) InitGlobals();
    ASSERT_EQ(OccupiedSlots(), 0);
  }
  void TearDown() override {
    for (int number = 1; number <= kTransferSlotCount; ++number) CloseTransfer(number);
  }
};

TEST_F(TransferTest, HttpDeliversTheServedBytesInChunks) {
  const Bytes expected = FileBytes("data.bin");
  ASSERT_EQ(expected.size(), 100000u);
  const int slot = OpenTransfer("http://127.0.0.1/data.bin");
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(Slot(1).Scheme, 3);
  EXPECT_NE(Slot(1).InternetHandle, nullptr);
  EXPECT_NE(Slot(1).ConnectHandle, nullptr);
  EXPECT_NE(Slot(1).RequestHandle, nullptr);
  EXPECT_EQ(Slot(1).FileSize, 0);
  EXPECT_EQ(GetTransferLength(slot), 100000);
  EXPECT_EQ(GetTransferStatus(slot), 200);

  const Received received = ReadToEnd(slot);
  EXPECT_FALSE(received.failed);
  EXPECT_EQ(received.bytes, expected);
  EXPECT_GE(received.reads, 11);  // 9 full chunks and 7840 bytes need 10 reads, then the end
  bool failed = true;
  EXPECT_TRUE(ReadTransfer(slot, kChunk, failed).empty());
  EXPECT_FALSE(failed) << "reading past the end still reports the end";

  EXPECT_EQ(CloseTransfer(slot), 1);
  EXPECT_TRUE(IsFree(Slot(1)));
}

TEST_F(TransferTest, GivenArgumentsAndPaddedUrlOpenTheSameFile) {
  const int slot = OpenTransfer("  http://127.0.0.1/padded.bin　 ", "", "", 80);
  ASSERT_EQ(slot, 1);
  const Bytes expected = FileBytes("padded.bin");
  EXPECT_EQ(GetTransferLength(slot), static_cast<std::int64_t>(expected.size()));
  EXPECT_EQ(ReadToEmptyChunk(slot), expected);
}

TEST_F(TransferTest, LengthIsTheLeadingNumberOfContentLength) {
  const struct {
    const char* path;
    std::int64_t length;
  } cases[] = {
      {"/length/none.bin", 0},            // no Content-Length at all
      {"/length/abc.bin", 0},             // "abc"
      {"/length/negative.bin", 0},        // "-5"
      {"/length/leading.bin", 512},       // "512abc"
      {"/length/fraction.bin", 77},       // "77.9"
      {"/length/large.bin", 6000000000},  // "6000000000": beyond 32 bits
      {"/length/huge.bin", 0},            // "99999999999999999999": beyond 64 bits
      {"/empty.bin", 0},                  // "0"
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const int slot = OpenTransfer(std::string("http://127.0.0.1") + c.path);
    ASSERT_EQ(slot, 1);
    EXPECT_EQ(GetTransferLength(slot), c.length);
    EXPECT_EQ(CloseTransfer(slot), 1);
  }
}

TEST_F(TransferTest, WithoutContentLengthTheBodyStillArrivesWhole) {
  const int slot = OpenTransfer("http://127.0.0.1/length/none.bin");
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(GetTransferLength(slot), 0);
  const Received received = ReadToEnd(slot);
  EXPECT_FALSE(received.failed);
  EXPECT_EQ(received.bytes, FileBytes("length\\none.bin"));
}

TEST_F(TransferTest, ErrorPageOpensAndDeliversItsBody) {
  const int slot = OpenTransfer("http://127.0.0.1/down/gone/gone.zip");
  ASSERT_EQ(slot, 1);
  const Bytes page = FileBytes("page404.txt");
  EXPECT_EQ(GetTransferStatus(slot), 404);
  EXPECT_EQ(GetTransferLength(slot), static_cast<std::int64_t>(page.size()));
  const Received received = ReadToEnd(slot);
  EXPECT_FALSE(received.failed);
  EXPECT_EQ(received.bytes, page);
}

// The server resets the connection once its first 800 chunks have reached this side. They are
// more than the sockets buffer between the two, so the reset comes while the body is being read.
TEST_F(TransferTest, BrokenConnectionIsAFailedReadNotTheEnd) {
  const Bytes whole = FileBytes("cut.bin");
  ASSERT_EQ(whole.size(), 1200u * kChunk);
  constexpr std::size_t kCutAfter = 800 * kChunk;

  int slot = OpenTransfer("http://127.0.0.1/cut.bin");
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(GetTransferLength(slot), 1200 * kChunk);
  const Received received = ReadToEnd(slot);
  EXPECT_TRUE(received.failed) << received.bytes.size() << " bytes arrived";
  EXPECT_LE(received.bytes.size(), kCutAfter);
  EXPECT_TRUE(IsPrefix(received.bytes, whole));
  EXPECT_EQ(CloseTransfer(slot), 1);

  // Without the report the failure ends the reading as the end of the data would.
  slot = OpenTransfer("http://127.0.0.1/cut.bin");
  ASSERT_EQ(slot, 1);
  const Bytes bytes = ReadToEmptyChunk(slot);
  EXPECT_LE(bytes.size(), kCutAfter);
  EXPECT_TRUE(IsPrefix(bytes, whole));
}

TEST_F(TransferTest, BodyShorterThanAnnouncedIsAFailedRead) {
  const Bytes body = FileBytes("short.bin");
  const int slot = OpenTransfer("http://127.0.0.1/short.bin");
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(GetTransferLength(slot), static_cast<std::int64_t>(body.size()) + 1024);
  const Received received = ReadToEnd(slot);
  EXPECT_TRUE(received.failed);
  EXPECT_EQ(received.bytes, body);
}

TEST_F(TransferTest, ReadsOutsideAnOpenTransferFail) {
  for (const int slot : {-1, 0, 1, 50, 51}) {
    SCOPED_TRACE(slot);
    bool failed = false;
    EXPECT_TRUE(ReadTransfer(slot, kChunk, failed).empty());
    EXPECT_TRUE(failed);
    EXPECT_TRUE(ReadTransfer(slot, kChunk).empty());
    EXPECT_EQ(GetTransferLength(slot), 0);
    EXPECT_EQ(GetTransferStatus(slot), 0);
  }
  const int slot = OpenTransfer("http://127.0.0.1/unread.bin");
  ASSERT_EQ(slot, 1);
  for (const int maxBytes : {0, -1}) {
    bool failed = false;
    EXPECT_TRUE(ReadTransfer(slot, maxBytes, failed).empty());
    EXPECT_TRUE(failed);
  }
  EXPECT_EQ(ReadToEmptyChunk(slot), FileBytes("unread.bin")) << "nothing was consumed";
}

// Each fetch asks the server, and WinInet keeps no copy of what came.
TEST_F(TransferTest, EveryFetchComesFromTheServer) {
  const std::string first = "first version\n";
  const std::string second = "second version, longer than the first\n";
  DeleteCachedUrls("/cache.bin");
  WriteFile("cache.bin", first);
  int slot = OpenTransfer("http://127.0.0.1/cache.bin");
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(ReadToEmptyChunk(slot), Bytes(first.begin(), first.end()));
  EXPECT_EQ(CloseTransfer(slot), 1);

  WriteFile("cache.bin", second);
  slot = OpenTransfer("http://127.0.0.1/cache.bin");
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(GetTransferLength(slot), static_cast<std::int64_t>(second.size()));
  EXPECT_EQ(ReadToEmptyChunk(slot), Bytes(second.begin(), second.end()));
  EXPECT_EQ(CloseTransfer(slot), 1);
  EXPECT_EQ(CachedUrls("/cache.bin"), std::vector<std::string>{});
}

TEST_F(TransferTest, FailedOpensLeaveEverySlotFree) {
  const std::uint16_t closed = EnvPort("STUB_TRANSFER_CLOSED_PORT");
  EXPECT_EQ(OpenTransfer("http://127.0.0.1/refused.bin", std::nullopt, std::nullopt, closed), 0);
  EXPECT_EQ(OccupiedSlots(), 0);
  for (const char* url : {"HTTP://127.0.0.1/unrecognised.bin", "https://127.0.0.1/unrecognised.bin",
                          "\thttp://127.0.0.1/unrecognised.bin", "http://127.0.0.1",
                          "127.0.0.1/unrecognised.bin", ""}) {
    SCOPED_TRACE(url);
    EXPECT_EQ(OpenTransfer(url), 0);
    EXPECT_EQ(OccupiedSlots(), 0);
  }
  EXPECT_EQ(FindFreeSlot(), 1);
}

// Fifty live transfers at once, each on a connection of its own: none of the bodies has been read
// when the next one opens.
TEST_F(TransferTest, FiftySlotsThenNoneUntilOneCloses) {
  const Bytes small = FileBytes("small.bin");
  for (int expected = 1; expected <= 50; ++expected) {
    ASSERT_EQ(FindFreeSlot(), expected);
    ASSERT_EQ(OpenTransfer("http://127.0.0.1/small.bin"), expected);
  }
  EXPECT_EQ(FindFreeSlot(), 0);
  EXPECT_EQ(OpenTransfer("http://127.0.0.1/small.bin"), 0);
  EXPECT_EQ(OccupiedSlots(), 50);

  EXPECT_EQ(CloseTransfer(50), 1);
  EXPECT_EQ(OpenTransfer("http://127.0.0.1/small.bin"), 50);
  EXPECT_EQ(CloseTransfer(20), 1);
  EXPECT_EQ(CloseTransfer(3), 1);
  EXPECT_EQ(CloseTransfer(3), 1) << "a free slot closes too";
  EXPECT_EQ(FindFreeSlot(), 3);
  EXPECT_EQ(OpenTransfer("http://127.0.0.1/small.bin"), 3);
  EXPECT_EQ(OpenTransfer("http://127.0.0.1/small.bin"), 20);
  EXPECT_EQ(OccupiedSlots(), 50);

  for (const int outside : {0, 51, -1}) EXPECT_EQ(CloseTransfer(outside), 0);
  EXPECT_EQ(OccupiedSlots(), 50);

  for (int slot = 1; slot <= 50; ++slot) {
    SCOPED_TRACE(slot);
    const Received received = ReadToEnd(slot);
    EXPECT_FALSE(received.failed);
    EXPECT_EQ(received.bytes, small);
  }
}

TEST_F(TransferTest, NginxServesTheSameBytes) {
  const int slot =
      OpenTransfer("http://127.0.0.1/data.bin", {}, {}, EnvPort("STUB_TRANSFER_NGINX_PORT"));
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(GetTransferLength(slot), 100000);
  EXPECT_EQ(GetTransferStatus(slot), 200);
  const Received received = ReadToEnd(slot);
  EXPECT_FALSE(received.failed);
  EXPECT_EQ(received.bytes, FileBytes("data.bin"));
}

TEST_F(TransferTest, FtpDeliversTheFileByteForByte) {
  DeleteCachedUrls("/ftp.bin");
  const Bytes expected = FileBytes("ftp.bin");
  const int slot =
      OpenTransfer("ftp://127.0.0.1/ftp.bin", {}, {}, EnvPort("STUB_TRANSFER_FTP_PORT"));
  ASSERT_EQ(slot, 1);
  EXPECT_EQ(Slot(1).Scheme, 1);
  EXPECT_EQ(Slot(1).FileSize, static_cast<std::int64_t>(expected.size()));
  EXPECT_EQ(GetTransferLength(slot), static_cast<std::int64_t>(expected.size()));
  EXPECT_EQ(GetTransferStatus(slot), 0);
  const Received received = ReadToEnd(slot);
  EXPECT_FALSE(received.failed);
  EXPECT_EQ(received.bytes, expected);
  EXPECT_EQ(CloseTransfer(slot), 1);
  EXPECT_TRUE(IsFree(Slot(1)));
  EXPECT_EQ(CachedUrls("/ftp.bin"), std::vector<std::string>{});
}

TEST_F(TransferTest, FtpMissingFileFailsTheOpen) {
  const std::uint16_t port = EnvPort("STUB_TRANSFER_FTP_PORT");
  EXPECT_EQ(OpenTransfer("ftp://127.0.0.1/missing.bin", {}, {}, port), 0);
  EXPECT_EQ(OccupiedSlots(), 0);
  // Given a user name and a password, the existing file opens.
  const int slot = OpenTransfer("ftp://127.0.0.1/ftp.bin", "anonymous", "guest@example.com", port);
  EXPECT_EQ(slot, 1);
}

TEST_F(TransferTest, FtpRefusedConnectionFailsTheOpen) {
  EXPECT_EQ(OpenTransfer("ftp://127.0.0.1/ftp.bin", {}, {}, EnvPort("STUB_TRANSFER_CLOSED_PORT")),
            0);
  EXPECT_EQ(OccupiedSlots(), 0);
}

}  // namespace
