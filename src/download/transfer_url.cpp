#include "download/transfer_url.h"

#include "toolkit/text.h"

int ParseTransferUrl(std::string_view url, std::string& server, std::string& objectPath) {
  const std::string trimmed = text::Trim(url);
  std::string_view rest = trimmed;
  int kind = 0;
  if (rest.starts_with("http://")) {
    kind = kTransferUrlHttp;
    rest.remove_prefix(7);
  } else if (rest.starts_with("ftp://")) {
    kind = kTransferUrlFtp;
    rest.remove_prefix(6);
  } else {
    return 0;
  }
  const int slash = text::Find(rest, "/");
  if (slash == -1) return 0;
  server = rest.substr(0, slash - 1);
  objectPath = rest.substr(slash - 1);
  return kind;
}
