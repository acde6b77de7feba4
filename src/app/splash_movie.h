// The splash movie that fills the window while the package downloads.
#pragma once

// Writes the embedded movie to a new temporary file, loads it into Kestroflash控件1, plays it and
// blocks the player's right-click menu. When the file cannot be written the control stays empty
// and nothing is reported. The file is never deleted: every run leaves one. On the UI thread.
void LoadSplashMovie();
