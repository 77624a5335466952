// The data validator: the build's working folder passes it, and broken copies of that
// folder give a message naming the broken file and what is wrong, without stopping the
// program where the game's readers would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "D3DInterfaceLib/D3DInterface.h"
#include "DataValidator.h"
#include "PhysicsLib/CollisionTypes.h"
#include "animationlib/Animation.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

const char kWall[] = "animations/VerticalBound.acd";

fs::path GameFolder() {
  return testsupport::BinaryDir() / "game";
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  return all;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The whitespace-separated tokens of a text, each with where it starts.
struct TextTokens {
  explicit TextTokens(const fs::path& path) : text(ReadText(path)) {
    for (std::size_t at = text.find_first_not_of(" \t\r\n"); at != std::string::npos;) {
      const std::size_t end = std::min(text.find_first_of(" \t\r\n", at), text.size());
      starts.push_back(at);
      words.push_back(text.substr(at, end - at));
      at = text.find_first_not_of(" \t\r\n", end);
    }
  }
  int Int(std::size_t i) const { return std::stoi(words.at(i)); }

  std::string text;
  std::vector<std::size_t> starts;
  std::vector<std::string> words;
};

// The breaks below edit the training ground, which holds one of everything; the copy's
// game list plays it first.
void PlayTrainingGroundFirst(const fs::path& game) {
  const TextTokens list(game / "Gold.vt");
  std::size_t at = 2;
  for (int state = 1; state < 8; ++state) at += 1 + 2 * static_cast<std::size_t>(list.Int(at));
  WriteText(game / "Gold.vt", list.text.substr(0, list.starts[at]) + std::to_string(list.Int(at) + 1) +
                                  " test test.lvl" +
                                  list.text.substr(list.starts[at] + list.words[at].size()));
}

// The file of the first gameplay level (state 8) of the game list.
std::string FirstGameplayLevel(const fs::path& game) {
  const TextTokens list(game / "Gold.vt");
  std::size_t at = 2;
  for (int state = 1; state < 8; ++state) at += 1 + 2 * static_cast<std::size_t>(list.Int(at));
  EXPECT_GT(list.Int(at), 0) << "no gameplay level";
  return list.words.at(at + 2);
}

// The level's first own prototype: its name, its first animation and where its entry ends.
struct LevelPrototype {
  std::string name, animation;
  std::size_t end;
};
LevelPrototype FirstLevelPrototype(const TextTokens& level) {
  EXPECT_GT(level.Int(0), 0) << "the level has no prototypes of its own";
  return {level.words.at(1), level.words.at(4),
          level.starts.at(3 + 2 * static_cast<std::size_t>(level.Int(2)))};
}

// Rewrites one animation file through the game's own writer.
void EditAnimation(const fs::path& file, const std::function<void(Animation&)>& edit) {
  Animation animation;
  ASSERT_TRUE(animation.Load(file.string())) << animation.GetLoadError();
  edit(animation);
  ASSERT_TRUE(animation.Save(file.string()));
}

// The frame fields to replace; the rest stay.
struct FrameEdit {
  std::optional<int> next = std::nullopt;
  std::optional<int> ticks = std::nullopt;
  std::optional<CollisionShape> shape = std::nullopt;
  std::optional<std::string> sound = std::nullopt;
};
void EditFrame(const fs::path& file, int f, const FrameEdit& edit) {
  EditAnimation(file, [&](Animation& a) {
    AnimationFrame& frame = a.GetFrames().at(static_cast<std::size_t>(f));
    frame = AnimationFrame(edit.next.value_or(frame.GetNextFrame()),
                           edit.ticks.value_or(frame.GetTicks()), frame.GetOffset(),
                           edit.shape.value_or(frame.GetShape()),
                           edit.sound.value_or(frame.GetSoundName()));
  });
}

Animation Load(const fs::path& file) {
  Animation animation;
  EXPECT_TRUE(animation.Load(file.string())) << animation.GetLoadError();
  return animation;
}

// Takes a prototype out of the global list.
void RemoveGlobalPrototype(const fs::path& game, const std::string& name) {
  const TextTokens list(game / "SpriteList.vtsl");
  const auto at = static_cast<std::size_t>(
      std::find(list.words.begin(), list.words.end(), name) - list.words.begin());
  ASSERT_LT(at, list.words.size()) << name << " is not in the list";
  const std::size_t next = at + 2 + 2 * static_cast<std::size_t>(list.Int(at + 1));
  const std::size_t end = next < list.words.size() ? list.starts[next] : list.text.size();
  WriteText(game / "SpriteList.vtsl", std::to_string(list.Int(0) - 1) + "\n" +
                                          list.text.substr(list.starts[1], list.starts[at] -
                                                                               list.starts[1]) +
                                          list.text.substr(end));
}

// Adds a trigger line ("name x y frame facing depth") to the level's last section.
void AddTrigger(const fs::path& level, const std::string& line) {
  const TextTokens text(level);
  const std::size_t last = text.words.size() - 1;
  for (std::size_t n = 0; 6 * n <= last; ++n) {
    const std::size_t at = last - 6 * n;
    if (text.words[at] != std::to_string(n)) continue;
    WriteText(level, text.text.substr(0, text.starts[at]) + std::to_string(n + 1) + "\n" + line +
                         "\n" + text.text.substr(text.starts[at] + text.words[at].size()));
    return;
  }
  ADD_FAILURE() << "no trigger section found in " << level;
}

struct Break {
  const char* name;
  // Breaks the copy; returns the file its message starts with and words it must hold.
  std::function<std::vector<std::string>(const fs::path& game)> apply;
};

// Line `number` (1-based) of a text file becomes `text`.
void ReplaceLine(const fs::path& file, int number, const std::string& text) {
  std::istringstream in(ReadText(file));
  std::string out, line;
  for (int n = 1; std::getline(in, line); ++n) out += (n == number ? text : line) + "\n";
  WriteText(file, out);
}

// The first gameplay level's tutorial script, relative to the folder.
std::string TutorialScript(const fs::path& game) {
  return "data/tut" + FirstGameplayLevel(game);
}

// Record line `record` (1-based) of that script becomes `text`.
std::vector<std::string> BreakTutorialRecord(const fs::path& game, int record,
                                             const std::string& text,
                                             std::vector<std::string> words) {
  const std::string script = TutorialScript(game);
  ReplaceLine(game / script, 3 + record, text);
  words.insert(words.begin(), script);
  return words;
}

const Break kBreaks[] = {
    {"LevelLosesAPrototypeItPlaces",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       const TextTokens level(game / file);
       const LevelPrototype dropped = FirstLevelPrototype(level);
       const std::string rest = level.text.substr(dropped.end);
       EXPECT_NE(rest.find(dropped.name), std::string::npos) << dropped.name << " is not placed";
       WriteText(game / file, std::to_string(level.Int(0) - 1) + "\n" + rest);
       return {file, "\"" + dropped.name + "\"", "no prototype has this name"};
     }},
    {"LevelPlacesAFrameItsAnimationLacks",
     [](const fs::path& game) -> std::vector<std::string> {
       // The game's level reader would stop the program here.
       const std::string file = FirstGameplayLevel(game);
       const LevelPrototype tiles = FirstLevelPrototype(TextTokens(game / file));
       EditAnimation(game / tiles.animation, [](Animation& a) {
         a.GetFrames().resize(1);
         a.GetFrames()[0] = AnimationFrame(0, 0, a.GetFrames()[0].GetOffset());
       });
       return {file, "\"" + tiles.name + "\"", "but its animation", "has 1"};
     }},
    {"LevelEndsMidway",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       const std::string text = ReadText(game / file);
       WriteText(game / file, text.substr(0, text.size() / 2));
       return {file, "the file ends where"};
     }},
    {"FrameLeadsPastTheLastFrame",
     [](const fs::path& game) -> std::vector<std::string> {
       const int frames = Load(game / kWall).GetFrameCount();
       EditFrame(game / kWall, 0, {.next = frames});
       return {kWall, "frame 0 leads to frame " + std::to_string(frames)};
     }},
    {"FramesLargerThanTheirImage",
     [](const fs::path& game) -> std::vector<std::string> {
       // Drawing such an animation would stop the game on an assertion.
       EditAnimation(game / kWall, [](Animation& a) { a.SetFrameSize(Vector2(4096, 4096)); });
       return {kWall, "frame size 4096 x 4096 does not fit its image"};
     }},
    {"PolygonTypeOutsideTheTable",
     [](const fs::path& game) -> std::vector<std::string> {
       std::vector<CollisionPolygon> polygons =
           Load(game / kWall).GetFrames()[0].GetShape().GetPolygons();
       polygons.at(0).SetType(99);
       EditFrame(game / kWall, 0, {.shape = CollisionShape(polygons)});
       return {kWall, "frame 0 polygon 0 has type 99, outside the collision table"};
     }},
    {"CollisionTableLosesItsSymmetry",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = (game / "clsntypes.ctt").string();
       EXPECT_TRUE(LoadCollisionTypes(file));
       auto& rows = CollisionTypeTable::Rows();
       rows[0][1] = rows[1][0] == kCollisionSolid ? kCollisionOverlap : kCollisionSolid;
       EXPECT_TRUE(SaveCollisionTypes(file));
       rows.clear();
       return {"clsntypes.ctt", "entry [0][1]", "must be symmetric"};
     }},
    {"SwordSwingNeverEnds",
     [](const fs::path& game) -> std::vector<std::string> {
       // The hero would stay in the swing for good.
       const TextTokens list(game / "SpriteList.vtsl");
       const auto hero = std::find(list.words.begin(), list.words.end(), "ZodirazO");
       auto swing = std::find(hero, list.words.end(), "3");
       EXPECT_NE(swing, list.words.end());
       const std::string file = *++swing;
       EditFrame(game / file, Load(game / file).GetFrameCount() - 1, {.ticks = 0});
       return {"SpriteList.vtsl", "\"ZodirazO\" state 3", "must lead back with at least 1 tick"};
     }},
    {"HudLabelRestsOnATimedFrame",
     [](const fs::path& game) -> std::vector<std::string> {
       EditFrame(game / "animations/HUDLabel.acd", 16, {.ticks = 5});
       return {"animations/HUDLabel.acd", "frame 16", "must be held"};
     }},
    {"FramePlaysAnUnlistedSound",
     [](const fs::path& game) -> std::vector<std::string> {
       EditFrame(game / kWall, 0, {.sound = "creak"});
       return {kWall, "plays \"creak\", which Sounds.vtse does not list"};
     }},
    {"SoundTheCodePlaysIsUnlisted",
     [](const fs::path& game) -> std::vector<std::string> {
       const TextTokens list(game / "Sounds.vtse");
       std::string pairs;
       int kept = 0;
       for (std::size_t i = 1; i + 1 < list.words.size(); i += 2) {
         if (list.words[i] == "earthquake") continue;
         pairs += list.words[i] + " " + list.words[i + 1] + "\n";
         ++kept;
       }
       WriteText(game / "Sounds.vtse", std::to_string(kept) + "\n" + pairs);
       return {"Sounds.vtse", "\"earthquake\" is missing"};
     }},
    {"ScoresOutOfOrder",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string text = ReadText(game / "Scores.vths");
       const std::size_t second = text.find('\n') + 1, third = text.find('\n', second) + 1;
       WriteText(game / "Scores.vths",
                 text.substr(second, third - second) + text.substr(0, second) + text.substr(third));
       return {"Scores.vths", "line 2", "not sorted highest first"};
     }},
    {"TurnBannerMissing",
     [](const fs::path& game) -> std::vector<std::string> {
       // A game with several players clones it into the HUD.
       RemoveGlobalPrototype(game, "PlayerNumber");
       return {FirstGameplayLevel(game), "no prototype \"PlayerNumber\""};
     }},
    {"GameOverCrackMissing",
     [](const fs::path& game) -> std::vector<std::string> {
       RemoveGlobalPrototype(game, "Crack");
       return {"SpriteList.vtsl", "game over needs the animation \"Crack\""};
     }},
    {"HeroPlacedAsALevelObject",
     [](const fs::path& game) -> std::vector<std::string> {
       // Anything that finds the hero by name could take this object for it.
       const std::string file = FirstGameplayLevel(game);
       AddTrigger(game / file, "ZodirazO 400 500 0 0 -1");
       return {file, "\"ZodirazO\" is placed in section 10 at (400, 500)", "section 8"};
     }},
    {"CorePieceWithoutItsGlow",
     [](const fs::path& game) -> std::vector<std::string> {
       // Collecting the piece moves the glow, which must be there.
       const std::string file = FirstGameplayLevel(game);
       const std::string text = ReadText(game / file);
       if (text.find("CoreGlow") != std::string::npos) {
         const TextTokens level(game / file);
         std::string kept;
         for (std::size_t i = 0; i < level.words.size(); ++i) {
           // Renaming the glows keeps every count and position as it was.
           kept += (level.words[i] == "CoreGlow" ? std::string("Flash") : level.words[i]) + "\n";
         }
         WriteText(game / file, kept);
       }
       AddTrigger(game / file, "CorePiece 600 500 0 0 1.01");
       return {file, "places a \"CorePiece\" but no \"CoreGlow\""};
     }},
    {"CheckpointWithoutItsGate",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       RemoveGlobalPrototype(game, "CheckPointClose");
       AddTrigger(game / file, "TriggerCheckPoint 700 500 0 0 0");
       return {file, "places \"TriggerCheckPoint\"", "no prototype \"CheckPointClose\""};
     }},
    {"KajeTriggerWithoutCrates",
     [](const fs::path& game) -> std::vector<std::string> {
       // The shield stage would never end.
       const std::string file = FirstGameplayLevel(game);
       AddTrigger(game / file, "KajeTrigger 2000 3900 0 0 0");
       return {file, "places a \"KajeTrigger\"", "fewer than 3 \"AirshipCrate\""};
     }},
    {"KajeTriggerWithoutItsShield",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       RemoveGlobalPrototype(game, "KajeShield");
       AddTrigger(game / file, "KajeTrigger 2000 3900 0 0 0");
       return {file, "no prototype \"KajeShield\""};
      }},
    {"ConstructorWithoutTheTigerEItReleases",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       RemoveGlobalPrototype(game, "TigerE");
       AddTrigger(game / file, "Constructor 900 430 0 0 0");
       return {file, "places \"Constructor\"", "no prototype \"TigerE\""};
     }},
    {"TigerCWithoutItsShot",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       RemoveGlobalPrototype(game, "TigerCShot");
       AddTrigger(game / file, "TigerC 900 430 0 0 0");
       return {file, "places \"TigerC\"", "no prototype \"TigerCShot\""};
     }},
    {"GrindlenautDeathPoseStillHurts",
     [](const fs::path& game) -> std::vector<std::string> {
       // A beaten boss stays in the list hidden; this pose would still hurt the hero.
       const fs::path file = game / "animations/GNTdeath.acd";
       const Animation body = Load(game / "animations/GNTbody.acd");
       EditFrame(file, 0, {.shape = CollisionShape({body.GetFrames()[0].GetShape().GetPolygon(1)})});
       return {"SpriteList.vtsl", "\"Grindlenaut\" state 20", "frame 0", "overlaps"};
     }},
    {"TigerADeathPoseStillTakesHits",
     [](const fs::path& game) -> std::vector<std::string> {
       const fs::path file = game / "animations/tigera_death.acd";
       std::vector<CollisionPolygon> polygons = Load(file).GetFrames()[2].GetShape().GetPolygons();
       polygons.push_back(Load(game / "animations/tigera_stand.acd").GetFrames()[0].GetShape().GetPolygon(1));
       EditFrame(file, 2, {.shape = CollisionShape(polygons)});
       return {"SpriteList.vtsl", "\"TigerA\" state 22", "frame 2", "overlaps"};
     }},
    {"GrindlenautWithoutTheRummagerItSummons",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       RemoveGlobalPrototype(game, "Rummager");
       AddTrigger(game / file, "Grindlenaut 900 1280 0 0 0");
       return {file, "has \"Grindlenaut\"", "no prototype \"Rummager\""};
     }},
    {"GrindlenautArmWithoutItsScrap",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       RemoveGlobalPrototype(game, "Scrap");
       AddTrigger(game / file, "GrindlenautArm 900 1280 0 0 0");
       return {file, "has \"GrindlenautArm\"", "no prototype \"Scrap\""};
     }},
    {"TigerAListedByALevelWithoutItsBomb",
     [](const fs::path& game) -> std::vector<std::string> {
       // Listed for a trigger to spawn rather than placed.
       const std::string file = FirstGameplayLevel(game);
       RemoveGlobalPrototype(game, "TigerABomb");
       const TextTokens level(game / file);
       WriteText(game / file, std::to_string(level.Int(0) + 1) +
                                  "\nTigerA 1 1 animations/tigera_stand.acd\n" +
                                  level.text.substr(level.starts[1]));
       return {file, "has \"TigerA\"", "no prototype \"TigerABomb\""};
     }},
    {"HeroTuningLosesItsLastLine",
     [](const fs::path& game) -> std::vector<std::string> {
       const fs::path tuning = game / "data" / "ZodirazO.ini";
       std::string text = ReadText(tuning);
       text.erase(text.rfind('\n', text.size() - 2) + 1);
       WriteText(tuning, text);
       return {"data/ZodirazO.ini", "41 values; the game reads 42"};
     }},
    {"MenuLevelLosesACard",
     [](const fs::path& game) -> std::vector<std::string> {
       std::string text = ReadText(game / "menu.lvl");
       const std::size_t card = text.find("MenuOptions 540");
       EXPECT_NE(card, std::string::npos);
       text.replace(card, 11, "MenuBackdrop");
       WriteText(game / "menu.lvl", text);
       return {"menu.lvl", "3 \"MenuOptions\"", "found 2"};
     }},
    {"IntroLevelLosesASecondD",
     [](const fs::path& game) -> std::vector<std::string> {
       std::string text = ReadText(game / "intro.lvl");
       const std::size_t d = text.find("HalvornD 490");
       EXPECT_NE(d, std::string::npos);
       text.replace(d, 8, "HalvornI");
       WriteText(game / "intro.lvl", text);
       return {"intro.lvl", "at least 2 \"HalvornD\"", "found 1"};
     }},
    {"IntroFirstDNotMirrored",
     [](const fs::path& game) -> std::vector<std::string> {
       std::string text = ReadText(game / "intro.lvl");
       const std::size_t d = text.find("HalvornD 310 230 0 1");
       EXPECT_NE(d, std::string::npos);
       text.replace(d, 20, "HalvornD 310 230 0 0");
       WriteText(game / "intro.lvl", text);
       return {"intro.lvl", "first \"HalvornD\"", "mirrored"};
     }},
    {"IntroTeamLogoPrototypeMissing",
     [](const fs::path& game) -> std::vector<std::string> {
       std::string text = ReadText(game / "intro.lvl");
       const std::size_t logo = text.find("TeamLogoQuarry 1");
       EXPECT_NE(logo, std::string::npos);
       text.replace(logo, 14, "TeamLogoQuarrx");
       WriteText(game / "intro.lvl", text);
       return {"intro.lvl", "team logo \"TeamLogoQuarry\""};
     }},
    {"IntroSealMissing",
     [](const fs::path& game) -> std::vector<std::string> {
       std::string text = ReadText(game / "intro.lvl");
       const std::size_t seal = text.find("HNOfficialSeal 400");
       EXPECT_NE(seal, std::string::npos);
       text.replace(seal, 14, "IntroBackdrop");
       WriteText(game / "intro.lvl", text);
       return {"intro.lvl", "\"HNOfficialSeal\"", "found 0"};
     }},
    {"OptionsStateListsALevel",
     [](const fs::path& game) -> std::vector<std::string> {
       std::string text = ReadText(game / "Gold.vt");
       const std::size_t at = text.find("menu.lvl\n0\n");
       EXPECT_NE(at, std::string::npos);
       text.replace(at, 11, "menu.lvl\n1 menu menu.lvl\n");
       WriteText(game / "Gold.vt", text);
       return {"Gold.vt", "state 4 must list no level"};
      }},
    {"HeroPlacedAsAnEnemy",
     [](const fs::path& game) -> std::vector<std::string> {
       // The player line is followed by the enemy count: one more, the hero's name first.
       const std::string file = FirstGameplayLevel(game);
       const std::string text = ReadText(game / file);
       std::smatch m;
       const std::regex player(R"(ZodirazO\s+\S+\s+\S+\s+\S+\s+(\d+))");
       EXPECT_TRUE(std::regex_search(text, m, player));
       const std::string count = std::to_string(std::stoi(m[1].str()) + 1);
       WriteText(game / file, text.substr(0, static_cast<std::size_t>(m.position(1))) + count +
                                  "\nZodirazO 200 200 0\n" +
                                  text.substr(static_cast<std::size_t>(m.position(1) + m.length(1))));
       return {file, "\"ZodirazO\" placed as enemy", "only the player section"};
     }},
    {"HeroBrakingSpeedsUp",
     [](const fs::path& game) -> std::vector<std::string> {
       ReplaceLine(game / "data" / "ZodirazO.ini", 3, "0.5");
       return {"data/ZodirazO.ini", "line 3 (0.5)", "below 0"};
     }},
    {"HeroMaximumEnergyIsZero",
     [](const fs::path& game) -> std::vector<std::string> {
       // The energy bar divides by it.
       ReplaceLine(game / "data" / "ZodirazO.ini", 23, "0");
       return {"data/ZodirazO.ini", "line 23 (0)", "above 0"};
     }},
    {"HeroDamageIsNegative",
     [](const fs::path& game) -> std::vector<std::string> {
       ReplaceLine(game / "data" / "ZodirazO.ini", 35, "-4");
       return {"data/ZodirazO.ini", "line 35 (-4)", "damage value"};
     }},
    {"PowerupPlacedWithoutAnOrbColour",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       AddTrigger(game / file, "Powerup 700 500 1 0 1.0");
       return {file, "\"Powerup\" placed as trigger at frame 1", "orb colour"};
     }},
    {"HeroDrainIsNegative",
     [](const fs::path& game) -> std::vector<std::string> {
       ReplaceLine(game / "data" / "ZodirazO.ini", 27, "-2");
       return {"data/ZodirazO.ini", "line 27 (-2)", "must not be negative"};
     }},
    {"TutorialIdIsNegative",
     [](const fs::path& game) {
       // The game's script reader would stop the program here.
       return BreakTutorialRecord(game, 1, "-2 560 1150 100 250 0 150 1 -1 Broken",
                                  {"message 1 has ID -2", "at least 0"});
     }},
    {"TutorialUnlocksAnIdNoMessageHas",
     [](const fs::path& game) {
       return BreakTutorialRecord(game, 1, "0 560 1150 100 250 0 150 1 77 Broken",
                                  {"unlocks ID 77", "no message has"});
     }},
    {"TutorialBoxHasNoWidth",
     [](const fs::path& game) {
       return BreakTutorialRecord(game, 1, "0 560 1150 0 250 0 150 1 -1 Broken",
                                  {"message 1 (ID 0)", "half sizes 0 x 250"});
     }},
    {"TutorialShowsForNegativeFrames",
     [](const fs::path& game) {
       return BreakTutorialRecord(game, 1, "0 560 1150 100 250 0 -5 1 -1 Broken",
                                  {"negative display frames (-5)"});
     }},
    {"TutorialFocusLiesOutsideTheLevel",
     [](const fs::path& game) {
       return BreakTutorialRecord(game, 1, "0 560 1150 100 250 1 99999 500 150 1 -1 Broken",
                                  {"focus point (99999, 500)", "outside the level's bounds"});
     }},
    {"TutorialLineRunsOffTheRightEdge",
     [](const fs::path& game) {
       return BreakTutorialRecord(
           game, 1,
           "0 560 1150 100 250 0 150 1 -1 In the air, hold A to spin a Cyclone, or press "
           "Space for a SuperJump, then do it all again.",
           {"line 4: message 1", "px past the right edge of the 800 x 600 screen"});
     }},
    {"TutorialLinesShownTogetherOverlap",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string script = TutorialScript(game);
       ReplaceLine(game / script, 1, "30 30 40 150 0 2 18");
       return {script, "line 1: messages shown together overlap by", "the line step 18 px"};
     }},
    {"TutorialPointSizeIsZero",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string script = TutorialScript(game);
       ReplaceLine(game / script, 1, "30 30 40 150 6 2 0");
       return {script, "point size 0"};
     }},
    {"TutorialPointSizeIsPastAnyScreen",
     [](const fs::path& game) -> std::vector<std::string> {
       // The game's script reader would stop the program here.
       const std::string script = TutorialScript(game);
       ReplaceLine(game / script, 1, "30 30 40 150 6 2 30000000");
       return {script, "point size 30000000 is outside 1 to 200"};
     }},
    {"TutorialCountPromisesMoreThanTheScriptHolds",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string script = TutorialScript(game);
       ReplaceLine(game / script, 3, "500");
       return {script, "promises 500 messages"};
     }},
    {"TutorialScriptWithoutItsTrigger",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       std::string text = ReadText(game / file);
       const std::size_t at = text.rfind("Tutorial ");
       EXPECT_NE(at, std::string::npos) << "no tutorial trigger in " << file;
       // The trigger count is the last line before it that holds a number alone.
       std::size_t count = text.rfind('\n', at - 2) + 1;
       while (text.substr(count, text.find('\n', count) - count).find(' ') != std::string::npos)
         count = text.rfind('\n', count - 2) + 1;
       const std::size_t countEnd = text.find('\n', count);
       const int triggers = std::stoi(text.substr(count, countEnd - count));
       text = text.substr(0, count) + std::to_string(triggers - 1) +
              text.substr(countEnd, at - countEnd) + text.substr(text.find('\n', at) + 1);
       WriteText(game / file, text);
       return {"data/tut" + file, "has no \"Tutorial\" trigger"};
     }},
    {"TutorialTriggerWithoutItsScript",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       fs::remove(game / ("data/tut" + file));
       return {file, "\"Tutorial\" trigger but no script"};
     }},
    {"GameListNamesAMissingLevelFile",
     [](const fs::path& game) -> std::vector<std::string> {
       const std::string file = FirstGameplayLevel(game);
       fs::remove(game / file);
       return {"Gold.vt", "\"" + file + "\"", "does not exist"};
     }},
};

void PrintTo(const Break& b, std::ostream* out) {
  *out << b.name;
}

TEST(GameDataValidation, GeneratedFolderHasNoProblemsAndEverythingIsPutBack) {
  ASSERT_TRUE(fs::exists(GameFolder() / "Gold.vt")) << "build the gamedata target first";
  const fs::path before = fs::current_path();
  CollisionTypeTable::Rows() = {{2}};

  EXPECT_EQ(Lines(validator::ValidateGameData(GameFolder())), "");

  EXPECT_EQ(fs::current_path(), before);
  EXPECT_EQ(CollisionTypeTable::Rows(), (std::vector<std::vector<int>>{{2}}));
  EXPECT_FALSE(D3DInterface::Exists());
  CollisionTypeTable::Rows().clear();
}

// Breaks of the shipped boss levels, each in its own copy.
TEST(GameDataValidation, BossLevelsNameAMovedJunkyardTileTwoCratesAndAMissingBoss) {
  ASSERT_TRUE(fs::exists(GameFolder() / "Gold.vt")) << "build the gamedata target first";
  const struct {
    const char* file;
    const char* from;
    const char* to;
    const char* message;
  } cases[] = {
      {"junkyard.lvl", "JunkyardGround 16384 1024", "JunkyardGround 16386 1024",
       "no \"JunkyardGround\" in section 7 at exactly (16384, 1024)"},
      {"airship.lvl", "\nAirshipClaw ", "\nRat ", "fewer than 3 \"AirshipClaw\""},
      {"factory.lvl", "TigerATrigger 1 1", "Decoy 1 1", "\"TigerATrigger\": no prototype has this name"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    testsupport::TempDir copy;
    const fs::path game = copy / "game";
    fs::copy(GameFolder(), game, fs::copy_options::recursive);
    std::string text = ReadText(game / c.file);
    const std::size_t at = text.find(c.from);
    ASSERT_NE(at, std::string::npos);
    text.replace(at, std::string(c.from).size(), c.to);
    WriteText(game / c.file, text);
    const std::string all = Lines(validator::ValidateGameData(game));
    EXPECT_NE(all.find(std::string(c.file) + ": "), std::string::npos) << all;
    EXPECT_NE(all.find(c.message), std::string::npos) << all;
  }
}

class BrokenGameData : public ::testing::TestWithParam<Break> {};

TEST_P(BrokenGameData, NamesTheFileAndTheProblem) {
  ASSERT_TRUE(fs::exists(GameFolder() / "Gold.vt")) << "build the gamedata target first";
  testsupport::TempDir copy;
  const fs::path game = copy / "game";
  fs::copy(GameFolder(), game, fs::copy_options::recursive);
  PlayTrainingGroundFirst(game);
  const std::vector<std::string> words = GetParam().apply(game);

  const std::vector<std::string> problems = validator::ValidateGameData(game);
  const bool named = std::any_of(problems.begin(), problems.end(), [&](const std::string& line) {
    return line.rfind(words[0] + ": ", 0) == 0 &&
           std::all_of(words.begin(), words.end(), [&](const std::string& word) {
             return line.find(word) != std::string::npos;
           });
  });
  EXPECT_TRUE(named) << "no message starts with " << words[0] << " and holds every one of:\n"
                     << Lines(words) << "messages:\n"
                     << Lines(problems);
}

INSTANTIATE_TEST_SUITE_P(OneBreakEach, BrokenGameData, ::testing::ValuesIn(kBreaks),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GameDataValidation, EmptyFolderNamesEveryFileTheGameNeeds) {
  testsupport::TempDir empty;
  const std::string all = Lines(validator::ValidateGameData(empty.Path()));
  for (const char* file : {"clsntypes.ctt", "Gold.vt", "Sounds.vtse", "SpriteList.vtsl",
                           "Scores.vths", "data/ZodirazO.ini", "animations/orbs.acd", kWall}) {
    EXPECT_NE(all.find(std::string(file) + ": missing"), std::string::npos) << file << "\n" << all;
  }
}

}  // namespace
