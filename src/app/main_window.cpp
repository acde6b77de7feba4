#include "app/main_window.h"

#include "app/creation.h"
#include "app/shared_state.h"
#include "assets/assets.h"
#include "toolkit/exit.h"

namespace {

using tk::CanvasStyle;
using tk::ControlEntry;
using tk::ControlKind;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kStatusBlue = RGB(0, 136, 255);

// In stacking order: each row lies directly beneath the one before it.
const ControlEntry kControls[] = {
    {.kind = ControlKind::Canvas,
     .name = 画板3,
     .x = 149,
     .y = 281,
     .width = 320,
     .height = 19,
     .canvas = CanvasStyle{kWhite, kStatusBlue, 16, "宋体"}},
    {.kind = ControlKind::Canvas,
     .name = 画板2,
     .x = 149,
     .y = 281,
     .width = 320,
     .height = 19,
     .canvas = CanvasStyle{kWhite, kStatusBlue, 13, "宋体"}},
    {.kind = ControlKind::Canvas,
     .name = 画板1,
     .x = 152,
     .y = 271,
     .width = 300,
     .height = 7,
     .canvas = CanvasStyle{kWhite, RGB(0, 0, 0), 0, ""}},
    {.kind = ControlKind::PictureButton,
     .name = 图形按钮1,
     .x = 522,
     .y = 264,
     .width = 60,
     .height = 21,
     .normalPicture = assets::CancelButtonNormal,
     .hoverPicture = assets::CancelButtonHover,
     .onClick = OnCloseClicked},
    {.kind = ControlKind::EditBox,
     .name = 编辑框1,
     .x = 166,
     .y = 240,
     .width = 164,
     .height = 19,
     .tabStop = true},
    {.kind = ControlKind::PictureButton,
     .name = 图形按钮4,
     .x = 397,
     .y = 238,
     .width = 60,
     .height = 21,
     .normalPicture = assets::InstallButtonNormal,
     .hoverPicture = assets::InstallButtonHover},
    {.kind = ControlKind::PictureButton,
     .name = 图形按钮3,
     .x = 333,
     .y = 238,
     .width = 60,
     .height = 21,
     .normalPicture = assets::BrowseButtonNormal,
     .hoverPicture = assets::BrowseButtonHover},
    {.kind = ControlKind::ZipExtractor, .name = ZIP压缩1, .visible = false},
    {.kind = ControlKind::Label,
     .name = 标签1,
     .x = 408,
     .y = 0,
     .width = 56,
     .height = 24,
     .visible = false},
    {.kind = ControlKind::MoviePlayer,
     .name = Kestroflash控件1,
     .x = 0,
     .y = 0,
     .width = 600,
     .height = 300,
     .tabStop = true},
};

}  // namespace

const std::span<const tk::ControlEntry> MainFormControls = kControls;

const tk::FormDefinition MainForm = {
    .title = "down",
    .width = 617,
    .height = 327,
    .topmost = true,
    .controls = kControls,
    .onCreate = OnWindowCreated,
};

void OnCloseClicked() {
  Globals.WorkerThread->Terminate();
  tk::ExitProgram(0);
}
