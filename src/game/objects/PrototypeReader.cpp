#include "game/objects/PrototypeReader.h"

#include <fstream>
#include <vector>

#include "animationlib/AnimationCollection.h"
#include "animationlib/D3DAnimation.h"
#include "animationlib/SpriteCollection.h"
#include "game/data/TokenReader.h"
#include "game/objects/BehaviorRegistry.h"
#include "game/objects/GameObject.h"
#include "platform/Assert.h"

void ReadPrototypeList(TokenReader& in, AnimationCollection* animations, SpriteCollection* pool,
                       const PrototypeProgress& progress) {
  const int spriteCount = in.IntAtLeast("the sprite count", 0);
  VT_ASSERT(spriteCount >= 0);
  for (int i = 0; i < spriteCount; ++i) {
    const std::string name = in.Word("a prototype name");
    // The name picks its tuning file in "data/"; it must not lead anywhere else.
    if (name.find_first_of("/\\") != std::string::npos || name.find("..") != std::string::npos) {
      in.Fail("the prototype name \"" + name +
              "\" holds a path separator or \"..\"; names stay inside \"data/\"");
    }
    const int animationCount = in.IntAtLeast("the animation count of \"" + name + "\"", 1);
    VT_ASSERT(animationCount >= 1);
    if (progress) progress(i, spriteCount, name);

    // Animations are found again by the name stored in their files, so two files
    // carrying one name share the animation loaded first.
    std::vector<int> keys;
    std::vector<std::string> names;
    for (int k = 0; k < animationCount; ++k) {
      keys.push_back(in.Int("a state key of \"" + name + "\""));
      const std::string file = in.Word("an animation file of \"" + name + "\"");
      D3DAnimation* animation = new D3DAnimation(file);
      names.push_back(animation->GetName());
      animations->Add(animation);
    }

    ObjectCallbacks callbacks = NO_CALLBACKS;
    callbacks.behavior = BehaviorRegistry::GetBehavior(name);
    auto* object =
        new GameObject(name, animations->Find(names[0]), Vector2(0.0f, 0.0f), callbacks, 0.0f);
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (keys[k] != 0) object->AddStateAnimation(animations->Find(names[k]), keys[k]);
    }
    std::ifstream parameters("data/" + name + ".ini");
    if (parameters.is_open()) object->LoadParameters(parameters);
    pool->Add(object);
  }
}
