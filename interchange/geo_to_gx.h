// The export converter: scene objects become an interchange tree (root, one top instance with an
// instance per object, then a material and a body per object) that a format writer walks.
#pragma once

#include "image/image_buffer.h"
#include "image/image_file.h"
#include "interchange/gx_element.h"
#include "scene/scene.h"

#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

// What a format writer wants from the converter.
struct ExportOptions {
  bool perTriangle = false;       // every object as triangles
  bool flipV = false;             // texture coordinates as 1 - v
  bool perCorner = false;         // every face corner its own "vertices" entry
  bool reverseCorners = false;    // corner loops and triangle coordinates walked backwards
  bool shortTextureNames = false; // texture files of at most 8 characters, always TIFF
  int textureFormat = kImageTiff; // image type of texture files (JPEG, PPM, BMP, PNG or TIFF)
};

// A paint image the export wants written beside the model file, as the tree's texture names it.
struct ExportTexture {
  std::string fileName; // a plain file name, no folder
  ImageBuffer
      image; // a copy of the paint image, every pixel opaque, gutter filled (texture_gutter.h)
  int type = kImageTiff;
  RowOrder order = RowOrder::kTopFirst;
};

// Whether a plain file name beside the model belongs to a file an export must not replace.
using TextureNameCheck = std::function<bool(const std::string &fileName)>;

// The name an object is exported under: its name with every blank (and, because the name also
// names texture files, every path separator) replaced by '_'. The object keeps its own name.
std::string exportedName(const std::string &objectName);

class GeoToGx {
public:
  GeoToGx(const ExportOptions &options, std::ostream &diagnostics);

  // Builds the tree from every object in slot order (allObjects) or from the objects of the
  // selection list in list order; empty slots are skipped. With per-triangle an object without
  // paint triangles is triangulated first (its triangle lists change, nothing else). Paint
  // images to be written land in textures(). The caller owns the tree. Throws
  // moInvalidTopologyException for a broken mesh; the scene keeps what it had then.
  GxPtr convert(Scene &scene, bool allObjects);
  std::vector<ExportTexture> &textures() { return textures_; }
  // Names the texture files of the export after the model file modelFile (no folder) too, so that
  // models exported into one folder keep their own textures: "<model>_<object>.<ext>", the model
  // part being modelFile without its extension, made safe as exportedName makes names. Short
  // names stay the object's alone and pass over every name taken says is in use. Call before
  // convert; without it textures are named after their objects only.
  void nameTexturesFor(const std::string &modelFile, TextureNameCheck taken);
  // Called after each object with the faces converted so far and in all; whatever it throws (a
  // cancellation) leaves convert with the tree unmade.
  void setProgress(std::function<void(int64_t done, int64_t total)> progress) {
    progress_ = std::move(progress);
  }

private:
  struct BodyContext;
  void addObject(GxElement &root, GxElement &instances, moObject &obj);
  void addMaterial(GxElement &root, const moObject &obj, const std::string &name);
  void addTexture(GxElement &shading, const moObject &obj, const std::string &name);
  void addTriangles(BodyContext &body, const moObject &obj);
  void addFaces(BodyContext &body, const moObject &obj);
  void addFaceParts(BodyContext &body, int32_t count);
  // stem + extension, or with a number in place of the stem's end while that name is taken (by
  // an earlier texture of this export, or for short names by a file beside the model), the stem
  // cut to keep the name within its limit: eight characters before the extension for short
  // names, a file name's 255 bytes otherwise.
  std::string uniqueTextureName(const std::string &stem, const char *extension);
  bool textureNameTaken(const std::string &name) const;

  ExportOptions options_;
  std::ostream &diag_;
  std::vector<ExportTexture> textures_;
  std::set<std::string> textureNames_; // every texture file named, written or not
  std::string texturePrefix_;          // "<model>_", or empty
  TextureNameCheck taken_;
  std::function<void(int64_t, int64_t)> progress_;
};
