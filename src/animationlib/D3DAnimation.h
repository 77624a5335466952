// The drawable animation: its frames cut from the PNG image beside the ".acd"
// file into textures of at most the device's texture caps, and drawn as one
// queued screen quad per texture tile.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "animationlib/Animation.h"
#include "platform/Texture.h"

namespace platform {
struct Image;
}

class D3DAnimation : public Animation {
 public:
  // Reads the ".acd" file at `path` and cuts its frames from "<folder><name>.png".
  // Requires the graphics engine. A missing or damaged file or image is reported
  // on stderr, naming the file, and leaves an animation that draws nothing where
  // it has no picture.
  explicit D3DAnimation(const std::string& path);
  ~D3DAnimation() override;

  // Queues `frame` with its origin at `screenPosition`: repeat copies across and
  // down (each count rounded up), mirrored, scaled about the screen position,
  // rotated about it by `rotation` and about `pivot` by `pivotRotation`.
  void Draw(const Vector2& screenPosition, const Vector2& repeat, int frame, bool mirror,
            float rotation, Vector2 pivot, float pivotRotation, CachedVector scale) const override;
  void SetSmoothScaling(bool smooth) override;

  std::uint32_t GetTilesAcross() const { return m_nTilesAcross; }
  std::uint32_t GetTilesDown() const { return m_nTilesDown; }
  // Tile (tx, ty) of frame f is at f * (across * down) + ty * across + tx; null
  // where the tile could not be made. Frames the image does not reach have none.
  const std::vector<std::unique_ptr<platform::Texture>>& GetTextures() const { return m_vTextures; }
  // The folder part of a path, up to and including its last "/" or "\".
  static std::string FolderOf(const std::string& path);

  // Test seam for programs that build thousands of animations from the same few images
  // (the fuzz targets): the source stands in for reading the image file, null with a
  // message naming the file and what is wrong in `error` as LoadPng gives. Null restores
  // the file reader; the game never sets one.
  using ImageSource = std::shared_ptr<const platform::Image> (*)(const std::string& path,
                                                                 std::string& error);
  static void SetImageSource(ImageSource source);

 private:
  void CutFrames(const platform::Image& image, const std::string& path);

  std::uint32_t m_nTilesAcross = 0;
  std::uint32_t m_nTilesDown = 0;
  // The caps the frames were cut with; drawing uses the same tile sizes.
  float m_fTileWidth = 0.0f;
  float m_fTileHeight = 0.0f;
  std::vector<std::unique_ptr<platform::Texture>> m_vTextures;
};
