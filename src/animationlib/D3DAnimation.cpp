// Cutting animation frames into textures, and drawing them as screen quads.
#include "animationlib/D3DAnimation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "D3DInterfaceLib/D3DInterface.h"
#include "platform/Gfx.h"
#include "platform/Image.h"

namespace {

constexpr float kQuadDepth = 0.1f;
constexpr float kQuadRhw = 1.0f;
constexpr D3DCOLOR kQuadDiffuse = 0xFFFF0000u;
// A mirrored frame lands this far right of the exact mirror image.
constexpr float kMirrorShift = 2.0f;
// Direct3D 9 samples pixel centres; the half pixel lines texels up with them.
constexpr float kPixelCentre = 0.5f;
// More copies than a screen can show of any frame a pixel wide or more; bounds
// what a damaged repeat count can queue.
constexpr double kMaxRepeat = 1024.0;

// Copies to draw along one axis: the count rounded up, none for nonsense.
int RepeatCount(float repeat) {
  const double count = std::ceil(static_cast<double>(repeat));
  if (!(count > 0.0) || !std::isfinite(count)) return 0;
  return static_cast<int>(std::min(count, kMaxRepeat));
}

D3DAnimation::ImageSource sImageSource = nullptr;

std::shared_ptr<const platform::Image> ReadImage(const std::string& path, std::string& error) {
  if (sImageSource != nullptr) return sImageSource(path, error);
  auto image = std::make_shared<platform::Image>();
  if (!platform::LoadPng(path, *image, error)) return nullptr;
  return image;
}

Vector2 Rotated(const Vector2& p, const Vector2& centre, float cosine, float sine) {
  const float x = p.X() - centre.X();
  const float y = p.Y() - centre.Y();
  return Vector2(centre.X() + (x * cosine - y * sine), centre.Y() + (x * sine + y * cosine));
}

}  // namespace

void D3DAnimation::SetImageSource(ImageSource source) {
  sImageSource = source;
}

std::string D3DAnimation::FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

D3DAnimation::D3DAnimation(const std::string& path) : Animation() {
  D3DInterface* engine = D3DInterface::GetEngine();
  if (!Load(path)) {
    std::fprintf(stderr, "%s\n", GetLoadError().c_str());
    return;
  }

  const std::string imagePath = FolderOf(path) + GetName() + ".png";
  std::string error;
  const std::shared_ptr<const platform::Image> read = ReadImage(imagePath, error);
  if (!read) {
    std::fprintf(stderr, "Animation file \"%s\": %s\n", path.c_str(), error.c_str());
    return;
  }
  const platform::Image& image = *read;

  const Vector2 imagesize(static_cast<float>(image.width), static_cast<float>(image.height));
  if (!FrameGridFits(GetFrameSize(), imagesize)) {
    // The assertion below names only the expression; say which files disagree.
    std::fprintf(
        stderr,
        "Animation file \"%s\": frame size %g x %g does not fit its image \"%s\" (%d x %d)\n",
        path.c_str(), GetFrameWidth(), GetFrameHeight(), imagePath.c_str(), image.width,
        image.height);
  }
  SetImageSize(imagesize);
  if (GetFrameSize() == Vector2(0.0f, 0.0f)) SetFrameSize(imagesize);

  if (engine->GetDevice() != nullptr) CutFrames(image, path);
}

D3DAnimation::~D3DAnimation() {
  while (!m_vTextures.empty()) m_vTextures.pop_back();
}

void D3DAnimation::CutFrames(const platform::Image& image, const std::string& path) {
  D3DInterface* engine = D3DInterface::GetEngine();
  platform::Gfx* device = engine->GetDevice();
  const int maxW = static_cast<int>(engine->GetMaxTextureWidth());
  const int maxH = static_cast<int>(engine->GetMaxTextureHeight());
  m_fTileWidth = static_cast<float>(maxW);
  m_fTileHeight = static_cast<float>(maxH);

  // Validation has made a known frame size positive and no larger than the image;
  // a size with a zero side (or below a pixel) has nothing to cut.
  if (!(GetFrameWidth() >= 1.0f && GetFrameHeight() >= 1.0f) || maxW <= 0 || maxH <= 0) return;
  const int fw = static_cast<int>(GetFrameWidth());
  const int fh = static_cast<int>(GetFrameHeight());
  m_nTilesAcross = static_cast<std::uint32_t>(fw / maxW + (fw % maxW != 0 ? 1 : 0));
  m_nTilesDown = static_cast<std::uint32_t>(fh / maxH + (fh % maxH != 0 ? 1 : 0));

  std::vector<std::uint32_t> scratch;
  bool reported = false;
  int sx = 0;
  int sy = 0;
  for (int frame = 0; frame < GetFrameCount(); ++frame) {
    // Frames below the image have no picture; later ones lie lower still.
    if (sy >= image.height) break;
    int yoff = 0;
    for (std::uint32_t ty = 0; ty < m_nTilesDown; ++ty) {
      const int tileH = std::min(fh - yoff, maxH);
      int xoff = 0;
      for (std::uint32_t tx = 0; tx < m_nTilesAcross; ++tx) {
        const int tileW = std::min(fw - xoff, maxW);
        const int left = sx + xoff;
        const int top = sy + yoff;
        const std::uint32_t* source = nullptr;
        int pitch = image.width;
        if (left + tileW <= image.width && top + tileH <= image.height) {
          source = &image.pixels[static_cast<std::size_t>(top) * image.width + left];
        } else {
          // The image ends inside this tile: what it lacks stays transparent.
          scratch.assign(static_cast<std::size_t>(tileW) * tileH, 0u);
          for (int y = 0; y < tileH && top + y < image.height; ++y) {
            const int width = std::min(tileW, image.width - left);
            const std::uint32_t* row =
                &image.pixels[static_cast<std::size_t>(top + y) * image.width + left];
            std::copy(row, row + width, scratch.begin() + static_cast<std::ptrdiff_t>(y) * tileW);
          }
          source = scratch.data();
          pitch = tileW;
        }
        std::string error;
        m_vTextures.push_back(device->CreateTexture(tileW, tileH, source, pitch, error));
        if (!m_vTextures.back() && !reported) {
          std::fprintf(stderr, "Animation file \"%s\": %s\n", path.c_str(), error.c_str());
          reported = true;
        }
        xoff += tileW;
      }
      yoff += tileH;
    }
    sx += fw;
    if (sx > image.width - fw) {
      sx = 0;
      sy += fh;
    }
  }
}

void D3DAnimation::SetSmoothScaling(bool smooth) {
  for (const std::unique_ptr<platform::Texture>& texture : m_vTextures) {
    if (texture) texture->SetSmoothScaling(smooth);
  }
}

void D3DAnimation::Draw(const Vector2& screenPosition, const Vector2& repeat, int frame,
                        bool mirror, float rotation, Vector2 pivot, float pivotRotation,
                        CachedVector scale) const {
  if (frame < 0 || frame >= GetFrameCount()) return;
  const std::size_t tilesPerFrame = static_cast<std::size_t>(m_nTilesAcross) * m_nTilesDown;
  const std::size_t firstTile = static_cast<std::size_t>(frame) * tilesPerFrame;
  if (tilesPerFrame == 0 || firstTile >= m_vTextures.size()) return;  // no picture

  D3DInterface* engine = D3DInterface::GetEngine();
  const float frameW = GetFrameWidth();
  const float frameH = GetFrameHeight();
  const float maxW = m_fTileWidth;
  const float maxH = m_fTileHeight;

  Vector2 offset = GetFrames()[static_cast<std::size_t>(frame)].GetOffset();
  if (mirror) offset.SetX(-offset.X());
  const Vector2 corner(screenPosition.X() - offset.X(), screenPosition.Y() - offset.Y());
  const int repX = RepeatCount(repeat.X());
  const int repY = RepeatCount(repeat.Y());

  const bool scaled = scale.X() != 1.0f || scale.Y() != 1.0f;
  const float cosR = std::cos(rotation);
  const float sinR = std::sin(rotation);
  const float cosQ = std::cos(pivotRotation);
  const float sinQ = std::sin(pivotRotation);
  const float u0 = mirror ? 1.0f : 0.0f;
  const float u1 = mirror ? 0.0f : 1.0f;

  for (int ry = 0; ry < repY; ++ry) {
    const float rowY = static_cast<float>(ry) * frameH + corner.Y();
    for (int rx = 0; rx < repX; ++rx) {
      const float colX = static_cast<float>(rx) * frameW + corner.X();
      float tyOff = 0.0f;
      for (std::uint32_t ty = 0; ty < m_nTilesDown; ++ty) {
        const float tileH = std::min(maxH, frameH - tyOff);
        float txOff = 0.0f;
        for (std::uint32_t tx = 0; tx < m_nTilesAcross; ++tx) {
          const float tileW = std::min(maxW, frameW - txOff);
          const std::size_t index = firstTile + ty * m_nTilesAcross + tx;
          platform::Texture* texture =
              index < m_vTextures.size() ? m_vTextures[index].get() : nullptr;
          if (texture != nullptr) {
            const float top = rowY + tyOff;
            const float bottom = top + tileH;
            float left;
            float right;
            if (!mirror) {
              left = colX + txOff;
              right = left + tileW;
            } else {
              right = colX - txOff + kMirrorShift;
              left = right - tileW;
            }
            Vector2 p[4] = {Vector2(left, top), Vector2(right, top), Vector2(right, bottom),
                            Vector2(left, bottom)};
            for (Vector2& v : p) {
              if (scaled) {
                v = Vector2(screenPosition.X() + (v.X() - screenPosition.X()) * scale.X(),
                            screenPosition.Y() + (v.Y() - screenPosition.Y()) * scale.Y());
              }
              if (rotation != 0.0f) v = Rotated(v, screenPosition, cosR, sinR);
              if (pivotRotation != 0.0f) v = Rotated(v, pivot, cosQ, sinQ);
            }
            ScreenQuad quad;
            const float us[4] = {u0, u1, u1, u0};
            const float vs[4] = {0.0f, 0.0f, 1.0f, 1.0f};
            for (int k = 0; k < 4; ++k) {
              quad.vertices[k] = ScreenVertex{p[k].X() + kPixelCentre,
                                              p[k].Y() + kPixelCentre,
                                              kQuadDepth,
                                              kQuadRhw,
                                              kQuadDiffuse,
                                              us[k],
                                              vs[k]};
            }
            quad.texture = texture;
            engine->AddQuad(quad);
          }
          txOff += tileW;
        }
        tyOff += tileH;
      }
    }
  }
}
