// One text queued on the World and drawn at the end of the frame, after the fade.
#pragma once

#include <string>

#include "D3DInterfaceLib/D3DInterface.h"

struct TextEntry {
  std::string face;
  int size = 0;
  float x = 0.0f;
  float y = 0.0f;
  std::string text;
  D3DCOLOR color = 0;
};
