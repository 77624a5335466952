// The committed data the layout tests read: each level file and each animation's source,
// read once per test run.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "AnimationSource.h"
#include "ListFiles.h"
#include "TokenScan.h"
#include "support/TempDir.h"

namespace testsupport {

// A level of assets/game by file name ("junkyard.lvl"), as the validator reads it.
inline const validator::LevelData& ShippedLevel(const std::string& file) {
  static std::map<std::string, validator::LevelData> read;
  auto it = read.find(file);
  if (it == read.end()) {
    validator::TokenScan scan(SourceDir() / "assets/game" / file);
    validator::LevelData level;
    EXPECT_TRUE(validator::ParseLevel(scan, level)) << file;
    it = read.emplace(file, std::move(level)).first;
  }
  return it->second;
}

// An animation of assets/animations by name, as the data build reads it.
inline const assetgen::AnimationDesc& SourceAnimation(const std::string& name) {
  static const std::vector<assetgen::AnimationDesc> all =
      assetgen::LoadAnimationFolder(SourceDir() / "assets" / "animations");
  for (const auto& a : all)
    if (a.name == name) return a;
  throw std::runtime_error("no animation " + name);
}

}  // namespace testsupport
