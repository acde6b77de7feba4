#include "app/window_helpers.h"

void RoundCorners(HWND window, int ellipseWidth, int ellipseHeight) {
  int width = 0, height = 0;
  GetClientSize(window, width, height);
  HRGN region = CreateRoundRectRgn(0, 0, width, height, ellipseWidth, ellipseHeight);
  // From here on the region belongs to the window.
  if (region && !SetWindowRgn(window, region, TRUE)) DeleteObject(region);
}

int GetClientSize(HWND window, int& width, int& height) {
  RECT client{0, 0, 0, 0};
  const BOOL ok = GetClientRect(window, &client);
  width = ok ? client.right : 0;
  height = ok ? client.bottom : 0;
  return ok;
}
