// What the backdrop scenes share: skylines, gradients, seams across a layer's repeat and
// clouds. Each scene paints one layer of a level's backdrop, screen-high.
#pragma once

#include <cairo.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "PaintKit.h"

namespace assetgen::scene {

constexpr double kTwoPi = 2 * kPi;

// A skyline repeating every `w` pixels: a few long swells and a seeded ragged edge.
class Skyline {
 public:
  Skyline(double w, double base, double swell, double ragged, std::uint32_t seed)
      : m_w(w), m_base(base), m_swell(swell) {
    Lcg rng(seed);
    m_noise.resize(64);
    for (double& n : m_noise) n = rng.Range(-ragged, ragged);
    m_phase = rng.Range(0, kTwoPi);
  }
  double At(double x) const {
    const double t = x / m_w;
    double y = m_base + m_swell * std::sin(kTwoPi * 2 * t + m_phase) +
               m_swell * 0.5 * std::sin(kTwoPi * 5 * t + 2 * m_phase);
    const double f = (t - std::floor(t)) * m_noise.size();
    const size_t i = static_cast<size_t>(f) % m_noise.size();
    const double u = f - std::floor(f);
    return y + m_noise[i] * (1 - u) + m_noise[(i + 1) % m_noise.size()] * u;
  }
  // Closes the area under the skyline, down to `bottom`.
  void Path(cairo_t* cr, double bottom) const {
    cairo_move_to(cr, 0, bottom);
    for (double x = 0; x <= m_w; x += 4) cairo_line_to(cr, x, At(x));
    cairo_line_to(cr, m_w, bottom);
    cairo_close_path(cr);
  }

 private:
  double m_w, m_base, m_swell, m_phase = 0;
  std::vector<double> m_noise;
};

inline void Gradient(cairo_t* cr, double y0, double y1,
                     std::initializer_list<std::pair<double, Color>> stops) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
  for (const auto& [at, c] : stops) cairo_pattern_add_color_stop_rgba(g, at, c.r, c.g, c.b, c.a);
  cairo_set_source(cr, g);
  cairo_pattern_destroy(g);
}

// Draws `draw(dx)` at dx = -w, 0 and w: what crosses a side edge reappears at the other.
inline void AcrossSeam(double w, const std::function<void(double)>& draw) {
  for (double dx : {-w, 0.0, w}) draw(dx);
}

void Cloud(cairo_t* cr, Lcg& rng, double x, double y, double size, const Color& lit,
           const Color& shade);
void RandomCloud(cairo_t* cr, Lcg& rng, double dx, double w, std::pair<double, double> y,
                 std::pair<double, double> size, const Color& lit, const Color& shade);

// Paints the level backdrop scene of that name ("junkyard_sky", ...); false if there is none.
bool PaintScene(cairo_t* cr, const std::string& name, double w, double h);

// The airship's layers (AirshipScenes.cpp); `h` may run below the screen's height.
void AirshipSky(cairo_t* cr, double w, double h);
void AirshipFar(cairo_t* cr, double w, double h);
void AirshipClouds(cairo_t* cr, double w, double h);

}  // namespace assetgen::scene
