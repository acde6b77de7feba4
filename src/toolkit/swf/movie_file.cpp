#include "toolkit/swf/movie_file.h"

#include <cstddef>

#include "toolkit/swf/inflate.h"

namespace swf {
namespace {

constexpr size_t kHeaderSize = 8;

}  // namespace

std::optional<MovieFile> ReadMovieFile(std::span<const uint8_t> file) {
  if (file.size() < kHeaderSize) return std::nullopt;
  MovieFile movie;
  if (file[1] != 'W' || file[2] != 'S') return std::nullopt;
  if (file[0] == 'C') {
    movie.compressed = true;
  } else if (file[0] != 'F') {
    return std::nullopt;
  }
  movie.version = file[3];
  movie.length = static_cast<uint32_t>(file[4]) | static_cast<uint32_t>(file[5]) << 8 |
                 static_cast<uint32_t>(file[6]) << 16 | static_cast<uint32_t>(file[7]) << 24;
  if (movie.version == 0 || (movie.compressed && movie.version < 6)) return std::nullopt;
  if (movie.length <= kHeaderSize || movie.length > kMaxMovieLength) return std::nullopt;

  const auto rest = file.subspan(kHeaderSize);
  const size_t body_size = movie.length - kHeaderSize;
  if (!movie.compressed) {
    if (rest.size() < body_size) return std::nullopt;
    movie.body.assign(rest.begin(), rest.begin() + static_cast<ptrdiff_t>(body_size));
    return movie;
  }
  if (!InflateExactly(rest, body_size, movie.body)) return std::nullopt;
  return movie;
}

}  // namespace swf
