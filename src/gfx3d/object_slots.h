#pragma once
// The 4096 object slots of the 3D scene. A placeholder: the mesh-object code fills it
// with the slot table, its objects and their release.

class ObjectSlots {};
