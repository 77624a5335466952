// How many live TigerE each Constructor has spawned: one entry per Constructor
// initialised in the run, never shrunk, so an entry outlives its Constructor.
// The one piece of behaviour state that is not kept in an object's properties.
#pragma once

namespace constructorcounts {

// Appends an entry of 0 and returns its index.
int Append();
// 0 for an index that has no entry.
int Get(int index);
// Adds `delta` to the entry; an index without an entry is ignored.
void Add(int index, int delta);
int Size();
// Tests only: forgets every entry.
void ResetForTests();

}  // namespace constructorcounts
