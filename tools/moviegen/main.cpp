// moviegen: makes the splash movie, and shows its frames.
//   moviegen <out.swf>                        writes the movie
//   moviegen --render <swf> <frame> <out.ppm> renders one frame (0-based) as a PPM picture
//   moviegen --time <swf>                     renders every frame, prints the mean and worst time
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "splash_movie.h"
#include "toolkit/swf/decode_movie.h"
#include "toolkit/swf/renderer.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: moviegen <out.swf>\n"
               "       moviegen --render <swf> <frame> <out.ppm>\n"
               "       moviegen --time <swf>\n");
  return 2;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::optional<swf::Movie> LoadMovie(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  auto movie = swf::DecodeMovie(bytes);
  if (!movie)
    std::fprintf(stderr, "moviegen: %s is not a movie this decoder plays\n", path.c_str());
  return movie;
}

int Render(const std::string& path, int frame, const std::string& out_path) {
  const auto movie = LoadMovie(path);
  if (!movie) return 1;
  swf::Renderer renderer(*movie);
  std::vector<uint32_t> pixels(static_cast<size_t>(renderer.width()) * renderer.height());
  if (!renderer.Render(frame, pixels)) {
    std::fprintf(stderr, "moviegen: the movie has no frame %d\n", frame);
    return 1;
  }
  std::string ppm = "P6\n" + std::to_string(renderer.width()) + " " +
                    std::to_string(renderer.height()) + "\n255\n";
  std::vector<uint8_t> bytes(ppm.begin(), ppm.end());
  for (uint32_t p : pixels) {
    bytes.push_back(static_cast<uint8_t>(p >> 16));
    bytes.push_back(static_cast<uint8_t>(p >> 8));
    bytes.push_back(static_cast<uint8_t>(p));
  }
  return WriteFile(out_path, bytes) ? 0 : 1;
}

int Time(const std::string& path) {
  const auto movie = LoadMovie(path);
  if (!movie) return 1;
  swf::Renderer renderer(*movie);
  std::vector<uint32_t> pixels(static_cast<size_t>(renderer.width()) * renderer.height());
  // <chrono> does not build under the tree's CP936 execution character set; timespec does.
  auto now_ms = [] {
    std::timespec t{};
    std::timespec_get(&t, TIME_UTC);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
  };
  double total = 0, worst = 0;
  for (int f = 0; f < movie->frame_count; ++f) {
    const double start = now_ms();
    renderer.Render(f, pixels);
    const double ms = now_ms() - start;
    total += ms;
    if (ms > worst) worst = ms;
  }
  std::printf("%d frames of %d x %d: mean %.2f ms, worst %.2f ms a frame\n", movie->frame_count,
              renderer.width(), renderer.height(), total / movie->frame_count, worst);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 1 && args[0][0] != '-') {
    return WriteFile(args[0], moviegen::MakeSplashMovie()) ? 0 : 1;
  }
  if (args.size() == 4 && args[0] == "--render")
    return Render(args[1], std::atoi(args[2].c_str()), args[3]);
  if (args.size() == 2 && args[0] == "--time") return Time(args[1]);
  return Usage();
}
