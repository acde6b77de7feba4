// The texts of the status line (code page 936; the comma in each is the ASCII comma).
#pragma once

#include <string>

// Shown at x 30 after each chunk of the download; "%s" takes the percentage text.
inline constexpr char DownloadingFormat[] = "系统正在为您高速下载%s,请稍后......";
// Shown at x 30 on each progress event of the extraction; "%s" takes the percentage text.
inline constexpr char InstallingFormat[] = "系统正在为您高速安装%s,请稍后......";
// Shown at x 16 once, when the install stage begins.
inline constexpr char ChooseDirMessage[] = "请选择安装目录进行安装,或默认安装。";

// `format` (DownloadingFormat or InstallingFormat) with the text of `percent` (PercentText) in
// its one "%s": for 37 per cent of the download, 系统正在为您高速下载37%,请稍后....... Gives the
// empty text when the format cannot be converted.
std::string StatusLine(const char* format, int percent);
