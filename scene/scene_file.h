// The native scene file (".mvo"): every object with its complete mesh, attributes, material,
// corner colours, paint triangulation and paint, so that a loaded scene is identical to the saved
// one element for element. Big-endian throughout. Version 1.2 is written; 1.0, 1.1 and 1.2 are
// read.
#pragma once

#include "scene/scene.h"

#include <string>
#include <vector>

// Reads a scene from the bytes of a file. With replace the scene's objects are replaced and take
// the file's slots; without, they are added after the scene's last slot. The bytes are untrusted:
// a damaged file is refused as a whole with a message box naming the problem (an unknown magic
// gives "attempting to read unknown format"; a file cut short says so and at which byte) and the
// scene stays exactly as it was. Bytes after the last object the slot count covers are not read:
// the scene opens, with a message box saying how many were left. Returns whether the file was
// read.
bool readScene(Scene &scene, const std::string &bytes, bool replace);

// Writes the scene (or only the selected objects, which needs the objects selection mode) as
// version 1.2. Every written object is compacted first, and the selection is cleared afterwards
// because compaction renumbers elements. Returns false, with a message box, when nothing may be
// written.
bool writeScene(Scene &scene, std::string &bytes, bool selectedOnly);

// The scene-file bytes of the whole scene as it stands, written one slot at a time without
// changing the scene (objects with deleted elements are written from compacted copies), so a
// recovery copy can be taken in small steps between frames. Joined, the parts are exactly what
// writeScene would write for the same scene. The scene must not change between steps; the
// caller compares Scene::version with version() and starts again when it has.
class SceneFileWriter {
public:
  explicit SceneFileWriter(const Scene &scene);
  // Writes the next slot; returns whether slots remain.
  bool writeNext(const Scene &scene);
  bool finished() const { return next_ == slots_; }
  uint64_t version() const { return version_; }
  // The bytes so far, in parts (the header, then one per slot); join gives the file.
  std::vector<std::string> &parts() { return parts_; }
  static std::string join(std::vector<std::string> parts);

private:
  std::vector<std::string> parts_;
  uint64_t version_;
  int32_t slots_, next_ = 0;
};

// Opens a scene file from disk (readScene), with a message box when it cannot be read.
bool openSceneFile(Scene &scene, const std::string &path, bool replace);
// Saves to disk through a temporary file renamed over the old one; on failure the old file is
// untouched and a message box says why.
bool saveSceneFile(Scene &scene, const std::string &path, bool selectedOnly);
