#include "progress/percent.h"

#include "toolkit/text.h"

int PercentOf(std::int64_t done, std::int64_t total) {
  if (total <= 0 || done <= 0) return 0;
  if (done >= total) return 100;
  const double share = static_cast<double>(done) / static_cast<double>(total);
  return static_cast<int>(share * 100.0);
}

std::string PercentText(int percent) {
  return text::NumberToText(percent) + "%";
}
