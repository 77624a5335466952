// A texture on the graphics device. The caller owns it; releasing it stays safe
// after the device is gone (the game destroys the device before its animations).
#pragma once

namespace platform {

class Gfx;

class Texture {
 public:
  ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // The device that made it; null once that device is gone.
  const Gfx* Device() const { return m_device; }
  // Drawn scaled, a texture is sampled nearest by default, which keeps pixel art
  // crisp; soft art blown up far past its size is sampled smoothly instead, mixing
  // neighbouring texels, so it shows no blocks.
  void SetSmoothScaling(bool smooth);
  bool SmoothScaling() const { return m_smooth; }

 private:
  friend class Gfx;
  Texture(Gfx* device, void* handle, int width, int height)
      : m_device(device), m_handle(handle), m_width(width), m_height(height) {}

  Gfx* m_device;
  void* m_handle;  // SDL_Texture, owned while the device lives
  int m_width;
  int m_height;
  bool m_smooth = false;
};

}  // namespace platform
