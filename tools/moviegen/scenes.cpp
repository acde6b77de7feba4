#include "scenes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace moviegen {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSamples = 4;

// The palette every scene draws from.
const Color kWhite = Hex(0xFFFFFF);
const Color kAzure = Hex(0x0088FF);
const Color kSky = Hex(0x5CB8FF);
const Color kDeepBlue = Hex(0x1F4FB8);
const Color kTeal = Hex(0x19C3B4);
const Color kViolet = Hex(0x7B6CF2);
const Color kPeach = Hex(0xFFB891);
const Color kGold = Hex(0xFFD98A);
const Color kPaleSky = Hex(0xE6F1FF);

float Smooth(double edge0, double edge1, double x) {
  const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return static_cast<float>(t * t * (3 - 2 * t));
}

Color Add(Color c, Color light, float amount) {
  return {std::min(1.0f, c.r + light.r * amount), std::min(1.0f, c.g + light.g * amount),
          std::min(1.0f, c.b + light.b * amount)};
}

// The common ground of every scene: towards the bottom the picture settles into white.
Color Settle(Color c, double y) {
  return Mix(c, kWhite, Smooth(194, 234, y));
}

// A fixed pseudo-random sequence (splitmix64), the same on every machine.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  double Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<double>((z ^ (z >> 31)) >> 11) / 9007199254740992.0;
  }
  double Range(double low, double high) { return low + (high - low) * Next(); }

 private:
  uint64_t state_;
};

double Hash(int a, int b, int salt) {
  Random r(static_cast<uint64_t>(a) * 73856093u ^ static_cast<uint64_t>(b) * 19349663u ^
           static_cast<uint64_t>(salt) * 83492791u);
  return r.Next();
}

// Distance from p to the segment a-b.
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  const double t =
      length2 > 0 ? std::clamp(((px - ax) * dx + (py - ay) * dy) / length2, 0.0, 1.0) : 0;
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Rolling hills under a sunrise sky.
Picture DawnHills() {
  struct Ridge {
    double base, a1, f1, p1, a2, f2, p2;
    Color top, bottom;
  };
  const std::array<Ridge, 4> ridges{{
      {132, 14, 0.011, 0.6, 6, 0.031, 2.0, Hex(0xD3DDF7), Hex(0xE4E9FA)},
      {152, 17, 0.008, 2.4, 7, 0.024, 0.3, Hex(0xA9BDF0), Hex(0xC8D4F5)},
      {172, 15, 0.010, 4.1, 8, 0.019, 1.7, Hex(0x6F98E8), Hex(0x9DB8F0)},
      {192, 12, 0.007, 5.3, 6, 0.027, 3.9, Hex(0x2F6FDB), Hex(0x5C90E8)},
  }};
  return SamplePicture(
      [&](double x, double y) {
        Color c = Mix(Hex(0xCFE2FF), Hex(0xFFE4D4), Smooth(0, 175, y));
        const double sun = std::hypot(x - 462, y - 116);
        c = Mix(c, Hex(0xFFD6B0),
                0.6f * static_cast<float>(std::exp(-sun * sun / (2 * 70.0 * 70.0))));
        c = Mix(c, Hex(0xFFEBC8), 1 - Smooth(26, 28, sun));
        for (const Ridge& r : ridges) {
          const double top =
              r.base + r.a1 * std::sin(x * r.f1 + r.p1) + r.a2 * std::sin(x * r.f2 + r.p2);
          if (y < top) continue;
          c = Mix(r.top, r.bottom, Smooth(top, top + 60, y));
          // A thin mist above each ridge's crest.
          c = Mix(c, kWhite, 0.18f * (1 - Smooth(top, top + 10, y)));
        }
        return Settle(c, y);
      },
      kSamples);
}

// Ribbons of light flowing across the stage.
Picture Waves() {
  struct Ribbon {
    double base, a, f, p, b, g, q, thickness;
    Color from, to;
    float alpha;
  };
  const std::array<Ribbon, 5> ribbons{{
      {118, 26, 0.010, 0.4, 9, 0.023, 1.3, 26, kSky, kViolet, 0.35f},
      {140, 22, 0.012, 2.2, 8, 0.019, 0.1, 20, kTeal, kAzure, 0.40f},
      {158, 30, 0.008, 4.0, 10, 0.029, 2.6, 30, kAzure, kViolet, 0.45f},
      {176, 18, 0.014, 1.1, 7, 0.021, 4.2, 16, kViolet, kSky, 0.35f},
      {186, 24, 0.009, 5.6, 9, 0.017, 3.3, 24, kDeepBlue, kTeal, 0.40f},
  }};
  return SamplePicture(
      [&](double x, double y) {
        Color c = Mix(Hex(0xF4F8FF), Hex(0xE0ECFF), static_cast<float>(x / 600));
        for (const Ribbon& r : ribbons) {
          const double mid = r.base + r.a * std::sin(x * r.f + r.p) + r.b * std::sin(x * r.g + r.q);
          const double half = r.thickness * (0.55 + 0.45 * std::sin(x * 0.013 + r.p * 1.7));
          const double d = std::fabs(y - mid);
          if (d < half) {
            const Color tint = Mix(r.from, r.to, static_cast<float>(x / 600));
            // Brighter along the ribbon's spine, like light on silk.
            const float shine = static_cast<float>(1 - d / half);
            c = Over(c, Mix(tint, kWhite, 0.25f * shine), r.alpha * (0.6f + 0.4f * shine));
          }
          // A fine line riding each ribbon's upper edge.
          if (std::fabs(y - (mid - half - 3)) < 0.6) c = Over(c, kAzure, 0.35f);
        }
        // The waves thin out towards the text at the top left.
        c = Mix(c, Hex(0xF4F8FF), 0.75f * Smooth(260, 40, x) * Smooth(140, 60, y));
        return Settle(c, y);
      },
      kSamples);
}

// A city skyline at dusk, lit windows, its reflection fading into white.
Picture Skyline() {
  struct Building {
    double left, right, top;
    int row;  // 0 far, 1 middle, 2 near
  };
  std::vector<Building> buildings;
  Random random(0x5C71);
  const std::array<double, 3> min_height{38, 52, 26};
  const std::array<double, 3> max_height{92, 128, 96};
  const std::array<double, 3> min_width{14, 18, 22};
  const std::array<double, 3> max_width{30, 36, 44};
  for (int row = 0; row < 3; ++row) {
    double x = -random.Range(0, 20);
    while (x < 600) {
      const double w = random.Range(min_width[row], max_width[row]);
      // Taller towers towards the right, away from the text.
      const double lift = 0.55 + 0.45 * std::clamp(x / 600, 0.0, 1.0);
      const double h = random.Range(min_height[row], max_height[row]) * lift;
      buildings.push_back({x, x + w, 206 - h, row});
      x += w + random.Range(1, 7);
    }
  }
  const std::array<Color, 3> facade{Hex(0xBCCDF0), Hex(0x86A6E8), Hex(0x3866CC)};
  const double ground = 206;
  auto city = [&](double x, double y, Color sky, bool reflected) {
    Color c = sky;
    for (const Building& b : buildings) {
      if (x < b.left || x >= b.right || y < b.top) continue;
      Color f = facade[b.row];
      if (b.row == 2) {
        f = Mix(f, Hex(0x24489E), Smooth(b.top, ground, y));
        const double cx = std::fmod(x - b.left, 7.0), cy = std::fmod(y - b.top, 9.0);
        if (x - b.left > 3 && b.right - x > 3 && y - b.top > 5 && cx > 3 && cx < 6 && cy > 3 &&
            cy < 7) {
          const int column = static_cast<int>((x - b.left) / 7),
                    floor = static_cast<int>((y - b.top) / 9);
          if (Hash(column, floor, static_cast<int>(b.left * 10)) < 0.42) f = Mix(f, kGold, 0.85f);
        }
      } else if (b.row == 1) {
        f = Mix(f, Hex(0x6E92E0), Smooth(b.top, ground, y));
      }
      c = f;
    }
    if (reflected) c = Mix(sky, c, 0.35f);
    return c;
  };
  return SamplePicture(
      [&](double x, double y) {
        Color sky = Mix(Hex(0xD6E8FF), Hex(0xF7E6F1), Smooth(10, 200, y));
        const double glow = std::hypot(x - 430, y - 190);
        sky = Add(sky, Hex(0xFFD2A8),
                  0.5f * static_cast<float>(std::exp(-glow * glow / (2 * 95.0 * 95.0))));
        Color c;
        if (y < ground) {
          c = city(x, y, sky, false);
        } else {
          const Color water = Mix(Hex(0xE3EDFF), Hex(0xF2F6FF), Smooth(ground, 230, y));
          c = city(x, 2 * ground - y + std::sin(y * 1.7) * 0.8, water, true);
        }
        return Settle(c, y);
      },
      kSamples);
}

// Facets of colour, a low-polygon field brightening towards the right.
Picture Facets() {
  constexpr double kCellW = 56, kCellH = 48;
  auto corner = [](int i, int j) {
    const double jx = (Hash(i, j, 11) - 0.5) * 30, jy = (Hash(i, j, 12) - 0.5) * 26;
    return std::array<double, 2>{i * kCellW + jx, j * kCellH + jy};
  };
  auto inside = [](const std::array<double, 2>& a, const std::array<double, 2>& b,
                   const std::array<double, 2>& c, double x, double y) {
    auto side = [&](const std::array<double, 2>& p, const std::array<double, 2>& q) {
      return (q[0] - p[0]) * (y - p[1]) - (q[1] - p[1]) * (x - p[0]);
    };
    const double s1 = side(a, b), s2 = side(b, c), s3 = side(c, a);
    return (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
  };
  return SamplePicture(
      [&](double x, double y) {
        const int ci = static_cast<int>(std::floor(x / kCellW)),
                  cj = static_cast<int>(std::floor(y / kCellH));
        double cx = x, cy = y;
        double shade = 0;
        bool found = false;
        for (int j = cj - 1; j <= cj + 1 && !found; ++j) {
          for (int i = ci - 1; i <= ci + 1 && !found; ++i) {
            const auto p00 = corner(i, j), p10 = corner(i + 1, j), p01 = corner(i, j + 1),
                       p11 = corner(i + 1, j + 1);
            const bool flip = Hash(i, j, 13) < 0.5;
            const std::array<std::array<std::array<double, 2>, 3>, 2> triangles =
                flip ? std::array<std::array<std::array<double, 2>, 3>, 2>{{{p00, p10, p11},
                                                                            {p00, p11, p01}}}
                     : std::array<std::array<std::array<double, 2>, 3>, 2>{
                           {{p00, p10, p01}, {p10, p11, p01}}};
            for (int t = 0; t < 2 && !found; ++t) {
              const auto& tri = triangles[t];
              if (!inside(tri[0], tri[1], tri[2], x, y)) continue;
              found = true;
              cx = (tri[0][0] + tri[1][0] + tri[2][0]) / 3;
              cy = (tri[0][1] + tri[1][1] + tri[2][1]) / 3;
              shade = Hash(i * 2 + t, j, 14) - 0.5;
            }
          }
        }
        // The colour field is sampled at each facet's centre, so every facet is flat.
        const float across = static_cast<float>(std::clamp((cx - 120) / 480, 0.0, 1.0));
        Color c = across < 0.5f ? Mix(Hex(0xD9E9FF), kSky, across * 2)
                                : Mix(kSky, Mix(kAzure, kViolet, static_cast<float>(cy / 260)),
                                      across * 2 - 1);
        c = Mix(c, Hex(0xEEF5FF), 0.5f * Smooth(150, 0, cy));
        c = Scale(c, static_cast<float>(1 + 0.07 * shade));
        c = Mix(c, Hex(0xF3F8FF), 0.8f * Smooth(230, 30, x) * Smooth(150, 40, y));
        return Settle(c, y);
      },
      kSamples);
}

// A globe with its grid and the routes of a network arching over it.
Picture Globe() {
  constexpr double kCx = 420, kCy = 350, kR = 250;
  const double tilt = 0.35;
  auto project = [&](double lat, double lon, double lift, double& px, double& py) {
    const double x = std::cos(lat) * std::sin(lon), y = std::sin(lat),
                 z = std::cos(lat) * std::cos(lon);
    const double ty = y * std::cos(tilt) + z * std::sin(tilt);
    px = kCx + x * kR * (1 + lift);
    py = kCy - ty * kR * (1 + lift);
  };
  struct Node {
    double lat, lon;
  };
  const std::array<Node, 9> nodes{{{0.62, -0.55},
                                   {0.75, -0.10},
                                   {0.58, 0.30},
                                   {0.70, 0.62},
                                   {0.48, -0.25},
                                   {0.45, 0.12},
                                   {0.52, 0.52},
                                   {0.85, 0.25},
                                   {0.40, -0.60}}};
  const std::array<std::array<int, 2>, 10> links{
      {{0, 1}, {1, 2}, {2, 3}, {1, 7}, {4, 5}, {5, 6}, {0, 4}, {5, 2}, {7, 3}, {8, 4}}};
  struct Point {
    double x, y;
  };
  std::vector<std::vector<Point>> arcs;
  for (const auto& link : links) {
    std::vector<Point> arc;
    const Node& a = nodes[link[0]];
    const Node& b = nodes[link[1]];
    for (int i = 0; i <= 40; ++i) {
      const double t = i / 40.0;
      Point p;
      project(a.lat + (b.lat - a.lat) * t, a.lon + (b.lon - a.lon) * t, 0.09 * std::sin(kPi * t),
              p.x, p.y);
      arc.push_back(p);
    }
    arcs.push_back(arc);
  }
  std::vector<Point> node_points;
  for (const Node& n : nodes) {
    Point p;
    project(n.lat, n.lon, 0, p.x, p.y);
    node_points.push_back(p);
  }
  return SamplePicture(
      [&](double x, double y) {
        Color c = Mix(Hex(0xF3F7FF), Hex(0xE2EDFF), Smooth(0, 220, y));
        const double nx = (x - kCx) / kR, ny = (kCy - y) / kR;
        const double r2 = nx * nx + ny * ny;
        // A halo around the globe's rim.
        const double rim = std::sqrt(r2);
        if (rim > 1)
          c = Add(c, Hex(0x9CC8FF), 0.35f * static_cast<float>(std::exp(-(rim - 1) * 26)));
        if (r2 <= 1) {
          const double nz = std::sqrt(1 - r2);
          const float light = static_cast<float>(
              std::clamp(0.55 + 0.45 * (-nx * 0.4 + ny * 0.5 + nz * 0.75), 0.0, 1.0));
          c = Mix(Hex(0x7FAEF5), Hex(0xDCEBFF), light);
          // Back to the sphere's own frame: undo the tilt, then read latitude and longitude.
          const double sy = ny * std::cos(tilt) - nz * std::sin(tilt);
          const double sz = ny * std::sin(tilt) + nz * std::cos(tilt);
          const double lat = std::asin(std::clamp(sy, -1.0, 1.0)), lon = std::atan2(nx, sz);
          const double step = kPi / 12;
          const double lat_d = std::fabs(std::remainder(lat, step)) * kR * nz;
          const double lon_d = std::fabs(std::remainder(lon, step)) * kR * std::cos(lat) * nz;
          const double d = std::min(lat_d, lon_d);
          c = Mix(c, kWhite, 0.45f * (1 - Smooth(0.3, 1.0, d)));
        }
        for (const auto& arc : arcs) {
          for (size_t i = 0; i + 1 < arc.size(); ++i) {
            const Point& a = arc[i];
            const Point& b = arc[i + 1];
            if (x < std::min(a.x, b.x) - 3 || x > std::max(a.x, b.x) + 3 ||
                y < std::min(a.y, b.y) - 3 || y > std::max(a.y, b.y) + 3) {
              continue;
            }
            if (SegmentDistance(x, y, a.x, a.y, b.x, b.y) < 0.8) {
              c = Over(c, Mix(kTeal, kAzure, static_cast<float>(i / 40.0)), 0.8f);
              break;
            }
          }
        }
        for (const Point& p : node_points) {
          const double d = std::hypot(x - p.x, y - p.y);
          c = Add(c, kSky, 0.5f * static_cast<float>(std::exp(-d * d / 40)));
          if (d < 4.2) c = kAzure;
          if (d < 1.8) c = kWhite;
        }
        c = Mix(c, Hex(0xF3F7FF), 0.6f * Smooth(200, 60, x) * Smooth(120, 50, y));
        return Settle(c, y);
      },
      kSamples);
}

// Soft circles of light, some filled, some rings.
Picture Bokeh() {
  struct Circle {
    double x, y, r;
    Color color;
    float alpha;
    bool ring;
  };
  std::vector<Circle> circles;
  Random random(0xB0E4);
  const std::array<Color, 5> colors{kAzure, kSky, kTeal, kViolet, kPeach};
  for (int i = 0; i < 30; ++i) {
    Circle c;
    c.r = random.Range(8, 66);
    do {
      c.x = random.Range(170, 620);
      c.y = random.Range(30, 215);
      // None reaches into the line of text at the top left.
    } while (c.x - c.r < 360 && c.y - c.r < 70);
    c.color = colors[static_cast<size_t>(random.Range(0, 5))];
    c.alpha = static_cast<float>(random.Range(0.12, 0.32));
    c.ring = random.Next() < 0.3;
    circles.push_back(c);
  }
  std::sort(circles.begin(), circles.end(),
            [](const Circle& a, const Circle& b) { return a.r > b.r; });
  return SamplePicture(
      [&](double x, double y) {
        Color c = Mix(Hex(0xF5F9FF), Hex(0xDCE8FF), Smooth(0, 800, x + y));
        const double glow = std::hypot(x - 480, y - 110);
        c = Add(c, Hex(0xE4DEFF),
                0.25f * static_cast<float>(std::exp(-glow * glow / (2 * 140.0 * 140.0))));
        for (const Circle& k : circles) {
          const double d = std::hypot(x - k.x, y - k.y);
          if (k.ring) {
            if (std::fabs(d - k.r) < 1.2) c = Over(c, k.color, k.alpha * 1.8f);
          } else if (d < k.r) {
            // Lighter towards the rim, as out-of-focus highlights are.
            c = Over(c, Mix(k.color, kWhite, 0.35f * static_cast<float>(1 - d / k.r)),
                     k.alpha * (0.75f + 0.25f * static_cast<float>(d / k.r)));
          }
        }
        return Settle(c, y);
      },
      kSamples);
}

// Software packages: isometric boxes floating in light, the largest marked for download.
Picture Packages() {
  struct Box {
    double x, y, a;  // top corner and edge length
    Color color;
    bool arrow;
  };
  const std::array<Box, 6> boxes{{{542, 52, 22, kTeal, false},
                                  {318, 104, 20, kViolet, false},
                                  {440, 72, 62, kAzure, true},
                                  {372, 146, 32, kSky, false},
                                  {534, 140, 38, kViolet, false},
                                  {262, 160, 16, kTeal, false}}};
  const double c30 = std::cos(kPi / 6), s30 = 0.5;
  // Face coordinates (u, v) in 0..1 of p on the parallelogram origin + u e1 + v e2.
  auto face = [](double px, double py, double ox, double oy, double e1x, double e1y, double e2x,
                 double e2y, double& u, double& v) {
    const double det = e1x * e2y - e1y * e2x;
    u = ((px - ox) * e2y - (py - oy) * e2x) / det;
    v = (e1x * (py - oy) - e1y * (px - ox)) / det;
    return u >= 0 && u <= 1 && v >= 0 && v <= 1;
  };
  auto arrow = [](double u, double v) {
    // A downward arrow in the face's own coordinates: a stem and a head.
    const bool stem = std::fabs(u - 0.5) < 0.09 && v > 0.2 && v < 0.55;
    const bool head = v >= 0.5 && v < 0.8 && std::fabs(u - 0.5) < 0.25 * (0.8 - v) / 0.3;
    return stem || head;
  };
  return SamplePicture(
      [&](double x, double y) {
        Color c = Mix(Hex(0xE8F1FF), Hex(0xFAFCFF), Smooth(0, 210, y));
        // Broad diagonal beams of light.
        const double beam = std::sin((x * 0.5 + y) * 0.018);
        c = Mix(c, kWhite, 0.22f * Smooth(0.55, 1.0, beam));
        for (const Box& b : boxes) {
          // A soft shadow on the floor beneath each box.
          const double sx = (x - b.x) / (b.a * 1.3), sy = (y - (204 - b.a * 0.1)) / (b.a * 0.22);
          c = Mix(c, Hex(0xB9CCEE),
                  0.35f * static_cast<float>(std::exp(-(sx * sx + sy * sy))) *
                      static_cast<float>(b.a / 62));
        }
        for (const Box& b : boxes) {
          const double a = b.a;
          double u, v;
          const Color top = Mix(b.color, kWhite, 0.55f);
          const Color left = Mix(b.color, kWhite, 0.15f);
          const Color right = Scale(b.color, 0.8f);
          const double tape = 0.1;
          if (face(x, y, b.x, b.y, a * c30, a * s30, -a * c30, a * s30, u, v)) {
            c = std::fabs(u - 0.5) < tape ? Mix(top, kWhite, 0.5f) : top;
          } else if (face(x, y, b.x - a * c30, b.y + a * s30, a * c30, a * s30, 0, a, u, v)) {
            c = left;
            if (std::fabs(u - 0.5) < tape && v < 0.35) c = Mix(left, kWhite, 0.45f);
            if (b.arrow && arrow(u, v)) c = kWhite;
          } else if (face(x, y, b.x, b.y + a, a * c30, -a * s30, 0, a, u, v)) {
            c = right;
            if (std::fabs(u - 0.5) < tape && v < 0.35) c = Mix(right, kWhite, 0.35f);
          }
        }
        c = Mix(c, Hex(0xEEF4FF), 0.5f * Smooth(230, 60, x) * Smooth(120, 40, y));
        return Settle(c, y);
      },
      kSamples);
}

}  // namespace

Picture PaintScene(int index) {
  switch (index) {
    case 0:
      return DawnHills();
    case 1:
      return Waves();
    case 2:
      return Skyline();
    case 3:
      return Facets();
    case 4:
      return Globe();
    case 5:
      return Bokeh();
    default:
      return Packages();
  }
}

}  // namespace moviegen
