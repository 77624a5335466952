// The table of painter families by the names the animation sources use.
#include <cstring>

#include "Painter.h"

namespace assetgen {

PainterFn FindPainter(const std::string& family) {
  static const struct {
    const char* name;
    PainterFn fn;
  } kFamilies[] = {
      {"hero", PaintHero},
      {"orb", PaintOrb},
      {"crackedorb", PaintCrackedOrb},
      {"orbshard", PaintOrbShard},
      {"hudwindow", PaintHudWindow},
      {"corechip", PaintCoreChip},
      {"corestart", PaintCoreStart},
      {"energybar", PaintEnergyBar},
      {"energymeter", PaintEnergyMeter},
      {"hudlabel", PaintHudLabel},
      {"shot", PaintShot},
      {"flash", PaintFlash},
      {"spark", PaintSpark},
      {"powerup", PaintPowerup},
      {"bound", PaintBound},
      {"backdrop", PaintBackdrop},
      {"playerbadge", PaintPlayerBadge},
      {"tire", PaintTire},
      {"corepiece", PaintCorePiece},
      {"coreglow", PaintCoreGlow},
      {"triggermarker", PaintTriggerMarker},
      {"checkpointgate", PaintCheckpointGate},
      {"factoryplatform", PaintFactoryPlatform},
      {"tigershot", PaintTigerShot},
      {"tigerbomb", PaintTigerBomb},
      {"tigerblast", PaintTigerBlast},
      {"rat", PaintRat},
      {"rummager", PaintRummager},
      {"tigere", PaintTigerE},
      {"tigerc", PaintTigerC},
      {"shredder", PaintShredder},
      {"constructor", PaintConstructor},
      {"menubackdrop", PaintMenuBackdrop},
      {"menusword", PaintMenuSword},
      {"menucard", PaintMenuCard},
      {"optioncard", PaintOptionCard},
      {"optionpanel", PaintOptionPanel},
      {"soundbar", PaintSoundBar},
      {"optiongun", PaintOptionGun},
      {"pausewindow", PaintPauseWindow},
      {"pauseitem", PaintPauseItem},
      {"endscreen", PaintEndScreen},
      {"halvornletter", PaintHalvornLetter},
      {"halvornseal", PaintHalvornSeal},
      {"teamlogo", PaintTeamLogo},
      {"copyright", PaintCopyright},
      {"introbackdrop", PaintIntroBackdrop},
      {"kaje", PaintKaje},
      {"kajeshield", PaintKajeShield},
      {"kajerocket", PaintKajeRocket},
      {"kajeenergy", PaintKajeEnergy},
      {"airshipcrate", PaintAirshipCrate},
      {"airshipclaw", PaintAirshipClaw},
      {"airshipscaffold", PaintAirshipScaffold},
      {"grindlenaut", PaintGrindlenaut},
      {"tigera", PaintTigerA},
      {"clear", PaintClear},
      {"junkyarddebris", PaintJunkyardDebris},
      {"ground", PaintGround},
      {"groundramp", PaintGroundRamp},
      {"backdroplayer", PaintBackdropLayer},
  };
  for (const auto& f : kFamilies)
    if (family == f.name) return f.fn;
  return nullptr;
}

}  // namespace assetgen
