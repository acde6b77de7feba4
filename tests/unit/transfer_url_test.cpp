#include "download/transfer_url.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
  const char* url;
  int kind;
  const char* server;
  const char* objectPath;
};

// The ideographic space is written out: both trees turn "　" into the bytes A1 A1.
const Case kCases[] = {
    {"http://host/a", kTransferUrlHttp, "host", "/a"},
    {"ftp://host/a", kTransferUrlFtp, "host", "/a"},
    {"  http://host/a  ", kTransferUrlHttp, "host", "/a"},
    {"\xA1\xA1 http://host/a　 \xA1\xA1", kTransferUrlHttp, "host", "/a"},
    {" 　ftp://host/pub/f.bin　", kTransferUrlFtp, "host", "/pub/f.bin"},
    {"http://host:8080/a/b.zip", kTransferUrlHttp, "host:8080", "/a/b.zip"},
    {"ftp://user:pw@host:2121/f", kTransferUrlFtp, "user:pw@host:2121", "/f"},
    {"http://host/a b/c%20d.zip?x=/1&y=2#part/3", kTransferUrlHttp, "host",
     "/a b/c%20d.zip?x=/1&y=2#part/3"},
    {"http://host/", kTransferUrlHttp, "host", "/"},
    {"http:///a", kTransferUrlHttp, "", "/a"},
    {"http://127.0.0.1/down/1099/1099.zip", kTransferUrlHttp, "127.0.0.1", "/down/1099/1099.zip"},
    {"http://服务器/下载/包.zip", kTransferUrlHttp, "服务器", "/下载/包.zip"},
    // Not recognised.
    {"HTTP://host/a", 0, nullptr, nullptr},
    {"Http://host/a", 0, nullptr, nullptr},
    {"FTP://host/a", 0, nullptr, nullptr},
    {"https://host/a", 0, nullptr, nullptr},
    {"ftps://host/a", 0, nullptr, nullptr},
    {"http:/host/a", 0, nullptr, nullptr},
    {"http://host", 0, nullptr, nullptr},
    {"ftp://host", 0, nullptr, nullptr},
    {"http://", 0, nullptr, nullptr},
    {"\thttp://host/a", 0, nullptr, nullptr},
    {"\r\nhttp://host/a", 0, nullptr, nullptr},
    {"host/a", 0, nullptr, nullptr},
    {"", 0, nullptr, nullptr},
    {"   ", 0, nullptr, nullptr},
};

TEST(ParseTransferUrlTest, TakesUrlsApart) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.url);
    std::string server = "untouched";
    std::string objectPath = "untouched";
    EXPECT_EQ(ParseTransferUrl(c.url, server, objectPath), c.kind);
    EXPECT_EQ(server, c.kind ? c.server : "untouched");
    EXPECT_EQ(objectPath, c.kind ? c.objectPath : "untouched");
  }
}

TEST(ParseTransferUrlTest, TrailingTabAndLineBreakStayInThePath) {
  std::string server;
  std::string objectPath;
  EXPECT_EQ(ParseTransferUrl("http://host/a\t\r\n ", server, objectPath), kTransferUrlHttp);
  EXPECT_EQ(server, "host");
  EXPECT_EQ(objectPath, "/a\t\r\n");
}

// Like every search of the program's texts, the one for the "/" matches only at a character
// boundary: a byte from 0x80 on takes the byte behind it into its character.
TEST(ParseTransferUrlTest, SplitsAtCharacterBoundaries) {
  std::string server;
  std::string objectPath;
  EXPECT_EQ(ParseTransferUrl("http://a\x81/b/c", server, objectPath), kTransferUrlHttp);
  EXPECT_EQ(server, "a\x81/b");
  EXPECT_EQ(objectPath, "/c");
}

}  // namespace
