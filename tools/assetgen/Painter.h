// Painter families: each paints one frame of an animation with Cairo.
// The context arrives translated so that (0, 0) is the frame's origin (its offset inside the
// frame) and clipped to the frame's cell; y grows downward, and the art faces right.
#pragma once

#include <cairo.h>

#include <string>

#include "AnimationSource.h"

namespace assetgen {

struct FramePaint {
  cairo_t* cr;
  const AnimationDesc& anim;
  const FrameDesc& frame;
  int index;  // frame index in the animation

  double Num(const std::string& key, double fallback) const {
    return ParamNumber(anim, frame, key, fallback);
  }
  std::string Text(const std::string& key, const std::string& fallback) const {
    return ParamText(anim, frame, key, fallback);
  }
  // The frame's cell in origin coordinates.
  double Left() const { return -frame.offsetX; }
  double Top() const { return -frame.offsetY; }
  double Width() const { return anim.frameWidth; }
  double Height() const { return anim.frameHeight; }
};

using PainterFn = void (*)(const FramePaint&);

// The family of that name, or null.
PainterFn FindPainter(const std::string& family);

// Families, one file each.
void PaintHero(const FramePaint& p);  // HeroPainter.cpp
void PaintOrb(const FramePaint& p);   // HudPainter.cpp
void PaintCrackedOrb(const FramePaint& p);
void PaintOrbShard(const FramePaint& p);
void PaintHudWindow(const FramePaint& p);
void PaintCoreChip(const FramePaint& p);
void PaintCoreStart(const FramePaint& p);
void PaintEnergyBar(const FramePaint& p);
void PaintEnergyMeter(const FramePaint& p);
void PaintHudLabel(const FramePaint& p);
void PaintShot(const FramePaint& p);  // EffectPainter.cpp
void PaintFlash(const FramePaint& p);
void PaintSpark(const FramePaint& p);
void PaintPowerup(const FramePaint& p);
void PaintBound(const FramePaint& p);  // WorldPainter.cpp
void PaintBackdrop(const FramePaint& p);
void PaintPlayerBadge(const FramePaint& p);  // ObjectPainter.cpp
void PaintTire(const FramePaint& p);
void PaintCorePiece(const FramePaint& p);
void PaintCoreGlow(const FramePaint& p);
void PaintTriggerMarker(const FramePaint& p);
void PaintCheckpointGate(const FramePaint& p);
// Paints nothing: objects that must have a frame but are never seen.
void PaintClear(const FramePaint& p);
void PaintFactoryPlatform(const FramePaint& p);
void PaintTigerShot(const FramePaint& p);
void PaintTigerBomb(const FramePaint& p);
void PaintTigerBlast(const FramePaint& p);
void PaintRat(const FramePaint& p);  // EnemyPainter.cpp
void PaintRummager(const FramePaint& p);
void PaintTigerE(const FramePaint& p);
void PaintTigerC(const FramePaint& p);  // GunnerPainter.cpp
void PaintShredder(const FramePaint& p);
void PaintConstructor(const FramePaint& p);
void PaintMenuBackdrop(const FramePaint& p);  // FrontEndPainter.cpp
void PaintMenuSword(const FramePaint& p);
void PaintMenuCard(const FramePaint& p);
void PaintOptionCard(const FramePaint& p);
void PaintOptionPanel(const FramePaint& p);
void PaintSoundBar(const FramePaint& p);
void PaintOptionGun(const FramePaint& p);
void PaintPauseWindow(const FramePaint& p);
void PaintPauseItem(const FramePaint& p);

void PaintEndScreen(const FramePaint& p);  // EndScreenPainter.cpp
void PaintKaje(const FramePaint& p);  // KajePainter.cpp
void PaintKajeShield(const FramePaint& p);
void PaintKajeRocket(const FramePaint& p);  // AirshipPainter.cpp
void PaintKajeEnergy(const FramePaint& p);
void PaintAirshipCrate(const FramePaint& p);
void PaintAirshipClaw(const FramePaint& p);
void PaintAirshipScaffold(const FramePaint& p);

void PaintHalvornLetter(const FramePaint& p);  // IntroPainter.cpp
void PaintHalvornSeal(const FramePaint& p);
void PaintTeamLogo(const FramePaint& p);
void PaintCopyright(const FramePaint& p);
void PaintIntroBackdrop(const FramePaint& p);

void PaintGrindlenaut(const FramePaint& p);  // BossPainter.cpp
void PaintTigerA(const FramePaint& p);

void PaintJunkyardDebris(const FramePaint& p);  // LevelPainter.cpp

void PaintGround(const FramePaint& p);  // GroundPainter.cpp
void PaintGroundRamp(const FramePaint& p);

void PaintBackdropLayer(const FramePaint& p);  // ScenePainter.cpp

}  // namespace assetgen
