// The elements of a winged-edge mesh. All references are int32 indices into the owning
// object's arrays; -1 means none. A deleted element stays as an inactive slot until the object
// is compacted.
#pragma once

#include "core/vec_math.h"

#include <cstdint>

struct moColor {
  uint8_t r = 255, g = 255, b = 255, a = 255;
};
inline bool operator==(const moColor &x, const moColor &y) {
  return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}
inline bool operator!=(const moColor &x, const moColor &y) { return !(x == y); }

constexpr moColor kWhite{255, 255, 255, 255};

struct moVertex {
  moVec3 Coordinates;
  int32_t EdgeIndex = -1; // one edge ending here; -1 marks the vertex inactive
  bool active() const { return EdgeIndex != -1; }
};

struct moFace {
  int32_t EdgeIndex = -1; // one edge bordering the face; -1 marks the face inactive
  bool active() const { return EdgeIndex != -1; }
};

// A directed edge Tail->Head. Faces run clockwise seen from outside: the edge runs Tail->Head in
// its RightFace and Head->Tail in its LeftFace. The wings are the neighbouring edges of both
// faces at both ends:
//   ForeWing    follows around RightFace (meets at Head)
//   ccwBackWing precedes around RightFace (meets at Tail)
//   BackWing    follows around LeftFace (meets at Tail)
//   ccwForeWing precedes around LeftFace (meets at Head)
// Each face corner's colour is stored once, in the edge of the face that ends at the corner:
// rightColor is the corner (RightFace, Head), leftColor the corner (LeftFace, Tail).
struct moEdge {
  int32_t Head = -1; // -1 marks the edge inactive
  int32_t Tail = -1;
  int32_t LeftFace = -1;
  int32_t RightFace = -1;
  int32_t BackWing = -1;
  int32_t ForeWing = -1;
  int32_t ccwBackWing = -1;
  int32_t ccwForeWing = -1;
  moColor rightColor;
  moColor leftColor;
  uint8_t hard = 0; // 1 = crease edge
  bool active() const { return Head != -1; }
};

struct moMaterial {
  float emission[4] = {0, 0, 0, 1};
  float aux[4] = {1, 1, 1, 1}; // read by no operation; kept with the object and in files
  float diffuse[4] = {1, 1, 1, 1};
  float specular[4] = {0.2f, 0.2f, 0.2f, 1};
  float shininess = 100.0f;
  float creaseAngle = 1.0f; // radians, the last angle given to "Set crease angle"
};
