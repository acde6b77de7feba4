// The program's one window: a borderless, topmost 600 x 300 panel with the movie over its whole
// surface and a few small controls along its lower edge.
#pragma once

#include "toolkit/form.h"

// The controls' form names.
inline constexpr char 画板1[] = "画板1";          // the progress bar
inline constexpr char 画板2[] = "画板2";          // off-screen buffer of the status line
inline constexpr char 画板3[] = "画板3";          // the status line the user sees
inline constexpr char 图形按钮1[] = "图形按钮1";  // close
inline constexpr char 图形按钮3[] = "图形按钮3";  // choose the install directory
inline constexpr char 图形按钮4[] = "图形按钮4";  // install
inline constexpr char 编辑框1[] = "编辑框1";      // the install directory
inline constexpr char ZIP压缩1[] = "ZIP压缩1";    // extracts the package
inline constexpr char 标签1[] = "标签1";          // carries the shortcut feedback event
inline constexpr char Kestroflash控件1[] = "Kestroflash控件1";  // plays the splash movie

// The main window's form, and its control table alone (tests build windows from it).
extern const tk::FormDefinition MainForm;
extern const std::span<const tk::ControlEntry> MainFormControls;

// Click handler of 图形按钮1: stops the download thread and ends the program with 0.
void OnCloseClicked();
