// Carrying paint through a modeling operation. The objects as they were before it are the
// sources; every face of a changed object finds the source face it lies on, and the object gets
// new paint triangles and an atlas layer whose texels take the colour of the old paint at the
// same place of that face. Faces the operation kept (the same corners, or the same corner
// positions) keep their own triangles and texels; side faces that an operation grows out of an
// edge lie on that edge until they are moved, so they take the paint along it.
#pragma once

#include "core/mesh.h"

#include <cstdint>
#include <memory>
#include <vector>

class PaintCarrier {
public:
  PaintCarrier();
  ~PaintCarrier();
  PaintCarrier(const PaintCarrier &) = delete;
  PaintCarrier &operator=(const PaintCarrier &) = delete;

  // An object as it was before the operation. slot is where it lived (-1 for an intermediate
  // object, such as a mirrored copy); preferred lists faces that win where a face of the result
  // lies on several source faces at once (the faces the operation was applied to). Unpainted
  // sources give their corner colours. The object must stay alive and unchanged until the last
  // carryTo; adding sources after a carryTo is not allowed.
  void addSource(std::shared_ptr<const moObject> before, int32_t slot,
                 const std::vector<int32_t> &preferred = {});
  // Where the vertices of the result in slot lie on the surface before the operation, by index,
  // when the operation moved them off it (Smooth: an old vertex's place, the middle of an old
  // edge, an old face's centroid). The carry maps the faces through these places instead.
  void restPositions(int32_t slot, std::vector<moVec3> positions);
  // Whether any source carries paint: only then is there anything to carry.
  bool painted() const;
  // Gives obj, the operation's result in slot (-1 for a new object), paint triangles for its
  // present faces and a new atlas layer filled from the sources, its image the size of its own
  // source's (else the first painted source's), doubled while that would make the cells smaller
  // than they were and than 10 texels, up to 2048 texels a side. Where no face of obj lies on
  // painted source surface, obj is left unpainted with its triangle lists emptied. Positions are
  // taken as they are now: call it before a drag moves new faces away from where they grew. Returns
  // whether obj is painted afterwards. Throws moInvalidTopologyException for a broken face loop,
  // leaving obj's paint as it was.
  bool carryTo(moObject &obj, int32_t slot) const;

private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
