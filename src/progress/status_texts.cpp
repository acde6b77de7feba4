#include "progress/status_texts.h"

#include "progress/percent.h"
#include "toolkit/text.h"

std::string StatusLine(const char* format, int percent) {
  return text::Format(format, PercentText(percent).c_str());
}
