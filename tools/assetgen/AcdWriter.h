// Writes an animation description as the game's binary animation file.
#pragma once

#include <filesystem>
#include <string>

#include "AnimationSource.h"

namespace assetgen {

// The file's bytes: name, frame size, frames with offset, next, ticks, shape block and sound.
std::string EncodeAcd(const AnimationDesc& anim);

// Writes EncodeAcd's bytes to `path`. Throws on a write failure.
void WriteAcd(const std::filesystem::path& path, const AnimationDesc& anim);

}  // namespace assetgen
