#include "toolkit/swf/decode_movie.h"

#include "toolkit/swf/bit_reader.h"
#include "toolkit/swf/movie_file.h"
#include "toolkit/swf/records.h"
#include "toolkit/swf/tag_readers.h"

namespace swf {
namespace {

enum TagCode : uint16_t {
  kEnd = 0,
  kShowFrame = 1,
  kDefineShape = 2,
  kRemoveObject = 5,
  kSetBackgroundColor = 9,
  kDefineFont = 10,
  kDefineText = 11,
  kDefineBitsLossless = 20,
  kDefineShape2 = 22,
  kPlaceObject2 = 26,
  kRemoveObject2 = 28,
  kDefineShape3 = 32,
  kDefineText2 = 33,
  kDefineBitsLossless2 = 36,
  kDefineFont2 = 48,
};

constexpr int kTwipsPerPixel = 20;

// Pixels of a stage side of `twips`, rounded; 0 when out of range.
int StagePixels(int64_t twips) {
  const int64_t pixels = (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
  return pixels >= 1 && pixels <= kMaxStagePixels ? static_cast<int>(pixels) : 0;
}

class TagWalk {
 public:
  explicit TagWalk(Movie& movie) : movie_(movie) {}

  bool Read(uint16_t code, TagBody body) {
    switch (code) {
      case kShowFrame:
        if (movie_.frames.size() < movie_.frame_count) movie_.frames.push_back(std::move(frame_));
        frame_ = Frame{};
        return true;
      case kSetBackgroundColor: {
        BitReader r(body);
        const Rgba color = ReadRgb(r);
        if (!r.ok()) return false;
        if (!background_set_) movie_.background = color;
        background_set_ = true;
        return true;
      }
      case kDefineBitsLossless:
        return ReadDefineBitsLossless(body, false, budget_, movie_);
      case kDefineBitsLossless2:
        return ReadDefineBitsLossless(body, true, budget_, movie_);
      case kDefineShape:
        return ReadDefineShape(body, 1, budget_, movie_);
      case kDefineShape2:
        return ReadDefineShape(body, 2, budget_, movie_);
      case kDefineShape3:
        return ReadDefineShape(body, 3, budget_, movie_);
      case kDefineFont:
        return ReadDefineFont(body, budget_, movie_);
      case kDefineFont2:
        return ReadDefineFont2(body, budget_, movie_);
      case kDefineText:
        return ReadDefineText(body, false, budget_, movie_);
      case kDefineText2:
        return ReadDefineText(body, true, budget_, movie_);
      case kPlaceObject2:
        return ReadPlaceObject2(body, budget_, frame_);
      case kRemoveObject:
        return ReadRemoveObject(body, true, budget_, frame_);
      case kRemoveObject2:
        return ReadRemoveObject(body, false, budget_, frame_);
      default:
        return true;
    }
  }

 private:
  Movie& movie_;
  DecodeBudget budget_;
  Frame frame_;  // the operations since the last ShowFrame
  bool background_set_ = false;
};

}  // namespace

std::optional<Movie> DecodeMovie(std::span<const uint8_t> file) {
  auto container = ReadMovieFile(file);
  if (!container) return std::nullopt;
  Movie movie;
  movie.version = container->version;
  movie.compressed = container->compressed;
  movie.file_length = container->length;

  BitReader r(container->body);
  movie.stage = ReadRect(r);
  movie.frame_rate = r.U16();
  movie.frame_count = r.U16();
  if (!r.ok() || movie.frame_count == 0) return std::nullopt;
  movie.width = StagePixels(int64_t{movie.stage.x_max} - movie.stage.x_min);
  movie.height = StagePixels(int64_t{movie.stage.y_max} - movie.stage.y_min);
  if (movie.width == 0 || movie.height == 0) return std::nullopt;

  TagWalk walk(movie);
  for (;;) {
    const uint16_t header = r.U16();
    const uint16_t code = header >> 6;
    size_t length = header & 0x3F;
    if (length == 0x3F) length = r.U32();
    if (!r.ok() || length > r.remaining()) return std::nullopt;
    const TagBody body = r.Bytes(length);
    if (code == kEnd) return movie;
    if (!walk.Read(code, body)) return std::nullopt;
  }
}

}  // namespace swf
