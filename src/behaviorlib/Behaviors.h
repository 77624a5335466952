// The behaviour library's entry points: the first state (or only state) of
// every registered object kind. A behaviour is a plain function of the object;
// each state replaces the object's behaviour with the next state, and all of an
// object's state lives in its properties (m_Flags).
#pragma once

class GameObject;

// Walking enemies.
void RatInit(GameObject* object);
void RummagerInit(GameObject* object);
void TigerEInit(GameObject* object);
// Gunner, chaser and spawner.
void TigerCInit(GameObject* object);
void ShredderInit(GameObject* object);
void ConstructorInit(GameObject* object);
// Bosses and their parts.
void TigerAInit(GameObject* object);
void GrindlenautInit(GameObject* object);
void GrindlenautArmInit(GameObject* object);
void GrindlenautDrillInit(GameObject* object);
void ScrapBehavior(GameObject* object);
void KajeTriggerInit(GameObject* object);
void AirshipCrateInit(GameObject* object);
void AirshipClawInit(GameObject* object);
// Pickups, effects and small objects.
void TigerCShotInit(GameObject* object);
void ShotBehavior(GameObject* object);
void TireInit(GameObject* object);
void FlashBehavior(GameObject* object);
void PowerupBehavior(GameObject* object);
void BreakOrbBehavior(GameObject* object);
void GreyOrbBehavior(GameObject* object);
void OrbRotationInit(GameObject* object);
void CorePieceInit(GameObject* object);
void SparkBehavior(GameObject* object);
void DeadFallBehavior(GameObject* object);
void FactoryPlatformInit(GameObject* object);
void TigerABombInit(GameObject* object);
void TriggerCheckPointInit(GameObject* object);
