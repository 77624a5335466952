// The objects around Kaje: the hanging crates and the claws that hold them,
// Kaje's homing rockets and energy shots, its shield, and the dialogue the
// trigger shows when Kaje arrives.
#pragma once

class GameObject;
struct Contact;

// Crate (AirshipCrateInit is the registry's, declared in Behaviors.h).
void AirshipCrateUpdate(GameObject* crate);
void AirshipCrateFall(GameObject* crate);
void CollideHitKaje(Contact* c);

// Claw (AirshipClawInit likewise).
void AirshipClawUpdate(GameObject* claw);

// Rocket: the Init is set as a new rocket's behaviour by Kaje.
void KajeRocketInit(GameObject* rocket);
void KajeRocketFly(GameObject* rocket);
void KajeRocketExplode(GameObject* rocket);
void CollideDropPowerup(Contact* c);

// Energy shot.
void KajeEnergyShotInit(GameObject* shot);
void CollideStoreContact(Contact* c);

void KajeShieldFollow(GameObject* shield);

// The trigger's state from Kaje's arrival to the start of the fight.
void KajeTriggerDialogue(GameObject* trigger);
// Renders the dialogue's glyphs ahead of it (TextRegistry's row for the trigger).
void PrepareKajeDialogue();
