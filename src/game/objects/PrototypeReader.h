// The prototype list shared by "SpriteList.vtsl" and a level's first section:
// a count, then per prototype its name, its animation count and that many pairs
// of object state and ".acd" file.
#pragma once

#include <functional>
#include <string>

class AnimationCollection;
class SpriteCollection;
class TokenReader;

// Called once per prototype, after its name and before its animations load.
using PrototypeProgress = std::function<void(int index, int count, const std::string& name)>;

// Loads every animation into `animations` and adds one GameObject per prototype
// to `pool`, with the behaviour its name has in the behaviour registry, its state
// animations and, when "data/<name>.ini" exists, its movement parameters.
void ReadPrototypeList(TokenReader& in, AnimationCollection* animations, SpriteCollection* pool,
                       const PrototypeProgress& progress = nullptr);
