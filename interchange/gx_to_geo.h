// The import converter: every body of an interchange tree becomes a new closed object, rebuilt
// through the mesh builder, with the material, corner colours and texture the tree gives it;
// the instance hierarchy places the objects.
#pragma once

#include "core/mesh_builder.h"
#include "image/image_buffer.h"
#include "interchange/gx_element.h"
#include "scene/object_table.h"

#include <functional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Loads the texture file a material names into image; false when the name does not lead to an
// image that loads. A texture map that holds its image's bytes as a string "data" (formats that
// embed their images) is decoded from those instead, its name giving the image type.
using TextureLoader = std::function<bool(const std::string &name, ImageBuffer &image)>;

// Whether a line the converter wrote among its messages is one of its progress notes ("Hashed
// body name = ...", "We got a texture called ...", "NAME: simplified from ...", ...), which
// report no problem.
bool isConversionNote(std::string_view line);
// What the line reporting a simplified body holds after the body's name.
constexpr const char *kSimplifiedNote = ": simplified from ";

// Asked for a body with more triangles than an object holds (polygons counted as fans): true
// simplifies it to fit, false refuses it (GxOverLimit).
using OverLimitChoice = std::function<bool(const std::string &body, int64_t triangles)>;

// A body beyond an object's face limit that was not to be simplified; what() names it and its
// triangles.
struct GxOverLimit : std::runtime_error {
  GxOverLimit(const std::string &body, int64_t triangles);
};

class GxToGeo {
public:
  GxToGeo(std::ostream &diagnostics, TextureLoader loadTexture);

  // Converts the tree, which is only read: one object per body that the builder could make
  // closed and valid, in the order of the bodies (a body it cannot make is reported and left
  // out), with the transforms of the instances that show it applied. Progress and problems go
  // to the diagnostic stream. Throws the element-limit exceptions for a body beyond an object's
  // limits; nothing is half made then.
  std::vector<ObjectPtr> convert(const GxElement &root);
  // How bodies beyond the face limit are handled; without a choice they are refused. A
  // simplified body is reported in one line ("NAME: simplified from 69 451 to 30 000 triangles,
  // error 0.2 %") on the diagnostic stream.
  void setOverLimit(OverLimitChoice choice) { overLimit_ = std::move(choice); }
  // Called after each body with the face items converted so far and in all; whatever it throws
  // (a cancellation) leaves convert with nothing made.
  void setProgress(std::function<void(int64_t done, int64_t total)> progress) {
    progress_ = std::move(progress);
  }

private:
  struct Body;
  ObjectPtr convertBody(const GxElement &body);
  // Simplifies a body beyond the face limit when the choice says so; throws otherwise.
  void simplify(Body &body, const std::string &name);
  // Applies the material's shading block; returns whether a texture was loaded into texture.
  bool applyMaterial(const GxElement &material, moObject &obj, ImageBuffer &texture);
  bool loadTextureMap(const GxElement &map, ImageBuffer &texture);
  void applyColors(const Body &body, moObject &obj) const;
  void applyTexture(const Body &body, moObject &obj, const ImageBuffer &texture) const;
  // Walks an instance and everything below it, attaching bodies and applying transforms.
  void placeInstance(const GxElement &instance);

  std::ostream &diag_;
  TextureLoader loadTexture_;
  std::unordered_map<std::string, const GxElement *> materials_;
  std::unordered_map<std::string, ObjectPtr> bodies_;
  std::unordered_map<const moObject *, bool> placed_; // objects an instance has placed
  std::function<void(int64_t, int64_t)> progress_;
  OverLimitChoice overLimit_;
  MeshBuilder builder_; // of the body being converted
};
