#pragma once
// Reading 3D files of the common formats (Wavefront OBJ, glTF 2.0, FBX, Collada, 3DS,
// MD2, MD3 and the others Assimp knows) into a source scene.

#include <string>

#include "source_scene.h"

// Fills scene from the file at path: triangles only (polygons are split, points and
// lines dropped), normals generated where the file has none. MD2 and MD3 files are read
// once per stored frame, each frame becoming a morph target. False with a message when
// the file cannot be read or holds no triangle mesh.
bool ReadSourceFile(const std::string& path, SourceScene& scene, std::string& error);

