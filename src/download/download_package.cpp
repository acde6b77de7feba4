#include "download/download_package.h"

#include <array>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/shared_state.h"
#include "assets/assets.h"
#include "download/html_check.h"
#include "download/package_id.h"
#include "download/transfer_table.h"
#include "progress/percent.h"
#include "progress/progress_bar.h"
#include "progress/status_line.h"
#include "progress/status_texts.h"
#include "toolkit/controls.h"
#include "toolkit/numbered_files.h"
#include "toolkit/text.h"
#include "toolkit/ui_thread.h"

namespace {

constexpr char kUrlTemplate[] = "http://" PACKAGE_SERVER_HOST "/down/%s/%s.zip";
constexpr char kPackageFile[] = ".\\hq.zip";
constexpr int kChunkBytes = 10240;

bool IsSuccessStatus(int status) {
  return status >= 200 && status < 300;
}

void ShowProgress(HWND window, int percent) {
  if (!tk::ControlExists(window, 画板1)) return;
  ShowStatus(30, StatusLine(DownloadingFormat, percent));
  DrawProgressBar(tk::ControlHandle(window, 画板1), assets::TrackImage, assets::FillImage,
                  static_cast<float>(percent), 100.0f);
}

// Reads the file as text in bounded pieces, as far as its text goes, and looks for "<head>".
bool IsHtmlPage(int file) {
  HtmlHeadScanner scanner;
  std::array<unsigned char, 64 * 1024> piece;
  for (;;) {
    const std::size_t read = tk::ReadNumberedFile(file, piece);
    if (read == 0 || scanner.Feed(std::span(piece.data(), read))) break;
  }
  return scanner.found();
}

void EnterInstallStage(HWND window) {
  tk::SetVisible(window, 编辑框1, true);
  tk::SetVisible(window, 图形按钮3, true);
  tk::SetVisible(window, 图形按钮4, true);
  tk::SetVisible(window, 画板1, false);
  tk::SetText(window, 编辑框1, "c:\\" + Globals.PackageId + "\\");
  ShowStatus(16, ChooseDirMessage);
}

}  // namespace

void DownloadPackage() {
  Globals.PackageId = ReadPackageId();
  if (Globals.PackageId.empty()) return;
  const std::string url =
      text::Format(kUrlTemplate, Globals.PackageId.c_str(), Globals.PackageId.c_str());
  Globals.PackageFile = kPackageFile;

  const int slot = OpenTransfer(url);
  if (slot == 0) return;
  // An error page is not the package: stop before anything is written, so an earlier archive
  // survives.
  if (!IsSuccessStatus(GetTransferStatus(slot))) {
    CloseTransfer(slot);
    return;
  }
  const int file = tk::OpenNumberedFile(Globals.PackageFile, tk::FileMode::kWriteNew);
  Globals.TotalBytes = GetTransferLength(slot);

  HWND window = tk::MainWindow();
  const ThreadObject& thread = *Globals.WorkerThread;
  bool failed = false;
  std::vector<unsigned char> chunk = ReadTransfer(slot, kChunkBytes, failed);
  while (!chunk.empty()) {
    tk::WriteNumberedFile(file, chunk);
    Globals.ReceivedBytes += static_cast<std::int64_t>(chunk.size());
    ShowProgress(window, PercentOf(Globals.ReceivedBytes, Globals.TotalBytes));
    if (thread.StopRequested()) return;
    chunk = ReadTransfer(slot, kChunkBytes, failed);
    tk::ProcessPendingEvents();
  }
  // A transfer that broke off is short, announced size or not.
  if (failed || Globals.ReceivedBytes < Globals.TotalBytes) return;
  CloseTransfer(slot);
  tk::CloseNumberedFile(file);

  Globals.PackageCheckFile =
      tk::OpenNumberedFile(Globals.PackageFile, tk::FileMode::kReadWriteExisting);
  if (IsHtmlPage(Globals.PackageCheckFile)) return;
  tk::CloseNumberedFile(Globals.PackageCheckFile);
  EnterInstallStage(window);
}
