// The label's feedback event: a worker thread has a piece of work run on the UI thread and waits
// until it has run.
#pragma once

#include <windows.h>

#include <string_view>

namespace tk {

// Runs the feedback handler of the label `label` of `form` with (first, second) on the UI thread
// and returns when the handler has returned; on the UI thread itself it runs at once. Returns
// false, running nothing, when there is no such label or handler or the UI thread serves no
// messages any more.
bool RaiseFeedback(HWND form, std::string_view label, int first, int second);

}  // namespace tk
