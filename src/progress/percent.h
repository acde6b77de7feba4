// How far a piece of work has come, as the progress display shows it.
#pragma once

#include <cstdint>
#include <string>

// The whole percentage that `done` of `total` makes: worked out in double precision, dividing
// first and multiplying by 100 after, then truncated toward zero, so 29 of 100 gives 28
// (0.29 * 100 is 28.999999999999996). Counts are 64-bit: a package of 2 GiB or more shows its
// true share. A total of 0 (nothing announced) gives 0. The result always lies in 0..100: a
// negative count or total gives 0, and more done than the total gives 100, so a server that sends
// more than it announced never draws the bar past its end.
int PercentOf(std::int64_t done, std::int64_t total);

// The percentage as the status line writes it: its decimal digits followed by "%" ("37%").
std::string PercentText(int percent);
