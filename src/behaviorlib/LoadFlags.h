// The optional per-object property file "data/" + name + "Flags.ini": lines of a
// property name and a value, each declared on the object (an existing property
// keeps its value). Nothing in the game calls it.
#pragma once

class GameObject;

// A missing or unreadable file adds nothing.
void LoadFlags(GameObject* object);
