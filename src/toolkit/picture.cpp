#include "toolkit/picture.h"

#include <cstring>

namespace tk {

UniqueBitmap BitmapFromBmpFile(std::span<const unsigned char> file) {
  BITMAPFILEHEADER file_header;
  BITMAPINFOHEADER info;
  if (file.size() < sizeof file_header + sizeof info) return {};
  std::memcpy(&file_header, file.data(), sizeof file_header);
  std::memcpy(&info, file.data() + sizeof file_header, sizeof info);
  if (file_header.bfType != 0x4D42 || info.biSize < sizeof info || info.biCompression != BI_RGB ||
      (info.biBitCount != 24 && info.biBitCount != 32) || info.biWidth <= 0 || info.biHeight == 0 ||
      info.biWidth > 4096 || info.biHeight > 4096 || info.biHeight < -4096) {
    return {};
  }
  const std::size_t stride =
      ((static_cast<std::size_t>(info.biWidth) * info.biBitCount + 31) / 32) * 4;
  const std::size_t rows =
      static_cast<std::size_t>(info.biHeight < 0 ? -info.biHeight : info.biHeight);
  if (file_header.bfOffBits > file.size() || file.size() - file_header.bfOffBits < stride * rows) {
    return {};
  }
  BITMAPINFO header{};
  header.bmiHeader = info;
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  WindowDc screen(nullptr);
  return UniqueBitmap(CreateDIBitmap(screen.get(), &header.bmiHeader, CBM_INIT,
                                     file.data() + file_header.bfOffBits, &header, DIB_RGB_COLORS));
}

}  // namespace tk
