// The level room holds a level in memory, its file reader, the entries of "Gold.vt"
// and the input recorder of a played level.
//
// One level file in memory: its own prototypes, music, two scenery layers, two
// object layers, the main objects (bound walls, objects, enemies, triggers) and
// the player. The level keeps these as templates; making it current fills the
// World's lists with clones, so the templates are never touched by play.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/objects/GameObject.h"
#include "game/player/PlayerObject.h"
#include "game/tutorial/Tutorial.h"

class AnimationCollection;
class ScenerySprite;
class SpriteCollection;
class TokenReader;

class Level {
 public:
  // Walls along the bounds are this many pixels outside the x bounds and the top.
  static constexpr int kWallInset = 3;
  static constexpr float kWallSpacing = 256.0f;
  static constexpr float kWallDepth = -5.0f;

  Level();
  ~Level();
  Level(const Level&) = delete;
  Level& operator=(const Level&) = delete;

  // Reads the ten sections, then the tutorial script. False, unreported, only when
  // the file does not open; bad data stops the game with a message naming the file.
  bool Load(std::string file, SpriteCollection* globalPool);
  // The first prototype of that name in the global pool, else in the level's own.
  Sprite* FindPrototype(const std::string& name, SpriteCollection* globalPool) const;

  // Each clears the World list it is given and fills it with clones of the
  // templates, sorted by depth, offset for the camera on the player.
  void FillSceneryListA(SpriteCollection* list) const;
  void FillObjectListB(SpriteCollection* list) const;
  void FillObjectList(SpriteCollection* list) const;
  void FillSceneryListC(SpriteCollection* list) const;
  void FillObjectListD(SpriteCollection* list) const;

  void StartMusic() const;
  void StopMusic() const;

  // The behaviour of "Tutorial" trigger objects: stay on the player and run the
  // World's tutorial.
  static void OnTutorialTrigger(GameObject* object);

  void SetName(std::string name) { m_sName = std::move(name); }
  const std::string& GetName() const { return m_sName; }
  // The player template, or null when the level has none.
  PlayerObject* GetPlayer() const { return m_cpoPlayer.get(); }
  int GetXLower() const { return m_nXLower; }
  int GetYLower() const { return m_nYLower; }
  int GetXUpper() const { return m_nXUpper; }
  int GetYUpper() const { return m_nYUpper; }
  const std::string& GetAmbientTrack() const { return m_sAmbientTrack; }
  int GetTrackCount() const { return m_nTrackCount; }
  const std::vector<std::string>& GetTrackFiles() const { return m_vTrackFiles; }
  const std::vector<std::string>& GetTrackModes() const { return m_vTrackModes; }
  const std::vector<std::unique_ptr<GameObject>>& GetMainObjects() const { return m_vMainObjects; }
  const std::vector<std::unique_ptr<ScenerySprite>>& GetSceneryA() const { return m_vSceneryA; }
  const std::vector<std::unique_ptr<GameObject>>& GetLayerB() const { return m_vLayerB; }
  const std::vector<std::unique_ptr<ScenerySprite>>& GetSceneryC() const { return m_vSceneryC; }
  const std::vector<std::unique_ptr<GameObject>>& GetLayerD() const { return m_vLayerD; }
  SpriteCollection* GetPrototypePool() const { return m_cscLevelPool.get(); }
  // The messages of "data/tut" + the level file, or null without a script.
  Tutorial* GetTutorial() const { return m_tutorial.get(); }

 private:
  void ReadPrototypes(TokenReader& in);
  void ReadMusic(TokenReader& in);
  void ReadScenery(TokenReader& in, std::vector<std::unique_ptr<ScenerySprite>>& layer,
                   bool tilesAreBools);
  void ReadObjects(TokenReader& in, SpriteCollection* globalPool,
                   std::vector<std::unique_ptr<GameObject>>& into);
  void ReadBounds(TokenReader& in, SpriteCollection* globalPool);
  void ReadPlayer(TokenReader& in, SpriteCollection* globalPool);
  void ReadEnemies(TokenReader& in, SpriteCollection* globalPool);
  void ReadTriggers(TokenReader& in, SpriteCollection* globalPool);
  void AddBoundWalls();

  // The prototype an object line names; a name in neither pool is a data error.
  GameObject* Prototype(TokenReader& in, const std::string& name,
                        SpriteCollection* globalPool) const;
  void DeleteLayers();
  void DeleteMainObjects();
  // Where the camera starts: centred on the player, or (0, 0) without one.
  Vector2 CameraStart() const;
  // Clones of the templates, then of `last` when there is one.
  void FillObjects(const std::vector<std::unique_ptr<GameObject>>& templates, const GameObject* last,
                   SpriteCollection* list) const;
  void FillScenery(const std::vector<std::unique_ptr<ScenerySprite>>& templates,
                   SpriteCollection* list) const;

  std::vector<std::string> m_vTrackFiles;
  std::vector<std::string> m_vTrackModes;
  std::string m_sAmbientTrack;
  // All owned; ~Level releases them in a fixed order.
  std::unique_ptr<PlayerObject> m_cpoPlayer;
  std::unique_ptr<AnimationCollection> m_cacScenery;
  std::unique_ptr<AnimationCollection> m_cacLevelPool;
  std::unique_ptr<SpriteCollection> m_cscLevelPool;
  std::vector<std::unique_ptr<GameObject>> m_vMainObjects;
  std::vector<std::unique_ptr<ScenerySprite>> m_vSceneryA;
  std::vector<std::unique_ptr<GameObject>> m_vLayerB;
  std::vector<std::unique_ptr<ScenerySprite>> m_vSceneryC;
  std::vector<std::unique_ptr<GameObject>> m_vLayerD;
  std::unique_ptr<Tutorial> m_tutorial;
  std::string m_sName;
  int m_nTrackCount = 0;
  int m_nXLower = 0;
  int m_nYLower = 0;
  int m_nXUpper = 0;
  int m_nYUpper = 0;
};
