#include "core/mesh_validation.h"

#include <iostream>

bool edgeInternallyValid(const moEdge &e) {
  if (!e.active())
    return true;
  return e.Tail != -1 && e.LeftFace != -1 && e.RightFace != -1 && e.BackWing != -1 &&
         e.ForeWing != -1 && e.ccwBackWing != -1 && e.ccwForeWing != -1 && e.Head != e.Tail &&
         e.LeftFace != e.RightFace && e.ForeWing != e.ccwBackWing && e.ccwForeWing != e.BackWing &&
         e.ForeWing != e.BackWing && e.ccwForeWing != e.ccwBackWing;
}

namespace {

// How one wing must point back: which end of the edge it shares, and for a wing that has that
// vertex as its Head (or Tail) the face it must share and the field that must name the edge.
struct WingRule {
  int32_t moEdge::*wing;
  const char *name;
  bool atHead;
  int32_t moEdge::*faceIfHead, moEdge::*edgeFace, moEdge::*backIfHead;
  int32_t moEdge::*faceIfTail, moEdge::*backIfTail;
};

// In test order: fore, ccw fore, ccw back, back.
const WingRule kWingRules[] = {
    {&moEdge::ForeWing, "fore wing", true, &moEdge::LeftFace, &moEdge::RightFace,
     &moEdge::ccwForeWing, &moEdge::RightFace, &moEdge::ccwBackWing},
    {&moEdge::ccwForeWing, "ccw fore wing", true, &moEdge::RightFace, &moEdge::LeftFace,
     &moEdge::ForeWing, &moEdge::LeftFace, &moEdge::BackWing},
    {&moEdge::ccwBackWing, "ccw back wing", false, &moEdge::RightFace, &moEdge::RightFace,
     &moEdge::ForeWing, &moEdge::LeftFace, &moEdge::BackWing},
    {&moEdge::BackWing, "back wing", false, &moEdge::LeftFace, &moEdge::LeftFace,
     &moEdge::ccwForeWing, &moEdge::RightFace, &moEdge::ccwBackWing},
};

} // namespace

bool edgeLocallyValid(const moObject &object, int32_t e, bool verbose) {
  const moEdge &d = object.edges[e];
  if (!d.active())
    return true;
  bool valid = true;
  const auto fail = [&](const char *message) {
    valid = false;
    if (verbose)
      std::cerr << "  edge " << e << message << std::endl;
    return verbose; // quiet mode stops at the first finding
  };
  const auto vertexActive = [&](int32_t v) {
    return object.vertices.contains(v) && object.vertices[v].active();
  };
  const auto faceActive = [&](int32_t f) {
    return object.faces.contains(f) && object.faces[f].active();
  };
  const auto edgeActive = [&](int32_t w) {
    return object.edges.contains(w) && object.edges[w].active();
  };
  if (!(vertexActive(d.Head) && vertexActive(d.Tail)) && !fail(" has inactive vertices"))
    return false;
  if (!(faceActive(d.LeftFace) && faceActive(d.RightFace)) && !fail(" has inactive faces"))
    return false;
  if (!(edgeActive(d.ForeWing) && edgeActive(d.ccwForeWing) && edgeActive(d.ccwBackWing) &&
        edgeActive(d.BackWing)) &&
      !fail(" has inactive wings"))
    return false;
  for (const WingRule &rule : kWingRules) {
    const int32_t w = d.*rule.wing;
    if (!object.edges.contains(w))
      continue; // already reported as inactive; nothing to follow
    const moEdge &W = object.edges[w];
    const int32_t shared = rule.atHead ? d.Head : d.Tail;
    const std::string wingName = rule.name;
    bool faceOk, backOk;
    if (W.Head == shared) {
      faceOk = W.*rule.faceIfHead == d.*rule.edgeFace;
      backOk = W.*rule.backIfHead == e;
    } else if (W.Tail == shared) {
      faceOk = W.*rule.faceIfTail == d.*rule.edgeFace;
      backOk = W.*rule.backIfTail == e;
    } else {
      if (!fail((" fails to share vertex with " + wingName).c_str()))
        return false;
      continue;
    }
    if (!faceOk && !fail((" fails to share face with " + wingName).c_str()))
      return false;
    if (!backOk && !fail((" fails to be pointed to by " + wingName).c_str()))
      return false;
  }
  if (!valid && verbose) {
    dumpEdge(std::cerr, d);
    std::cerr << std::endl;
  }
  return valid;
}

bool objectLocallyValid(const moObject &object, bool verbose) {
  if (verbose)
    std::cerr << "testing local validity of object" << std::endl;
  bool valid = true;
  const auto fail = [&](const char *message, int32_t index) {
    valid = false;
    if (verbose)
      std::cerr << message << index << std::endl;
    return verbose;
  };
  for (int32_t e = object.edges.count() - 1; e >= 0; --e) {
    if (!object.edges[e].active())
      continue;
    if (!edgeInternallyValid(object.edges[e]) && !fail("internally invalid edge: ", e))
      return false;
    if (!edgeLocallyValid(object, e, verbose) && !fail("locally invalid edge: ", e))
      return false;
  }
  // Each active vertex and face must name an active edge that holds it.
  const auto holds = [&](int32_t e, int32_t moEdge::*a, int32_t moEdge::*b, int32_t element) {
    return object.edges.contains(e) && object.edges[e].active() &&
           (object.edges[e].*a == element || object.edges[e].*b == element);
  };
  for (int32_t v = object.vertices.count() - 1; v >= 0; --v) {
    const int32_t e = object.vertices[v].EdgeIndex;
    if (e != -1 && !holds(e, &moEdge::Head, &moEdge::Tail, v) &&
        !fail("locally invalid vertex: ", v))
      return false;
  }
  for (int32_t f = object.faces.count() - 1; f >= 0; --f) {
    const int32_t e = object.faces[f].EdgeIndex;
    if (e != -1 && !holds(e, &moEdge::LeftFace, &moEdge::RightFace, f) &&
        !fail("locally invalid face: ", f))
      return false;
  }
  return valid;
}

void dumpVertex(std::ostream &out, const moVertex &vertex) {
  out << "Vertex " << static_cast<const void *>(&vertex) << ": EdgeIndex = " << vertex.EdgeIndex
      << ", Coordinates = " << vertex.Coordinates.x << " " << vertex.Coordinates.y << " "
      << vertex.Coordinates.z << std::endl;
}

void dumpEdge(std::ostream &out, const moEdge &edge) {
  out << "Edge " << static_cast<const void *>(&edge) << ":" << std::endl;
  out << "    Tail = " << edge.Tail << ", Head = " << edge.Head
      << "    LeftFace = " << edge.LeftFace << ", RightFace = " << edge.RightFace << ","
      << std::endl;
  out << "    BackWing = " << edge.BackWing << ", ccwBackWing = " << edge.ccwBackWing
      << ", ccwForeWing = " << edge.ccwForeWing << ", ForeWing = " << edge.ForeWing << std::endl;
}

void dumpFace(std::ostream &out, const moFace &face) {
  out << "Face " << static_cast<const void *>(&face) << ": EdgeIndex = " << face.EdgeIndex
      << std::endl;
}
