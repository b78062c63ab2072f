#include "scene/symmetry.h"

#include "scene/scene.h"

#include <algorithm>
#include <map>
#include <memory>

std::string SymmetryPlanes::modeText() const {
  if (!any())
    return "";
  std::string text = "Symmetry ";
  for (int32_t axis = 0; axis < 3; ++axis)
    if (on(axis))
      text += char('X' + axis);
  return text;
}

std::vector<MirrorFlips> SymmetryPlanes::mirrors() const {
  std::vector<MirrorFlips> all;
  for (MirrorFlips flips = 1; flips < 8; ++flips)
    if ((flips & axes) == flips)
      all.push_back(flips);
  return all;
}

namespace {

bool symmetricMode(SelectionMode m) { return m == moVERTICES || m == moEDGES || m == moFACES; }

int32_t imageOf(const MirrorIndex &index, SelectionMode m, int32_t element, MirrorFlips flips) {
  return m == moVERTICES ? index.vertexImage(element, flips)
         : m == moEDGES  ? index.edgeImage(element, flips)
                         : index.faceImage(element, flips);
}

// Calls fn(v) for each vertex of a selected element of the current mode.
template <class Fn> void forEachVertexOf(const moObject &obj, SelectionMode m, int32_t e, Fn fn) {
  if (m == moVERTICES) {
    fn(e);
  } else if (m == moEDGES) {
    fn(obj.edges[e].Head);
    fn(obj.edges[e].Tail);
  } else {
    obj.forEachEdgeOfFace(e, false, [&](int32_t d) { fn(obj.startVertex(d, e)); });
  }
}

} // namespace

MirroredSelection mirrorSelection(const Scene &scene) {
  MirroredSelection split;
  const SelectionMode m = scene.mode;
  if (!scene.symmetry.any() || !symmetricMode(m))
    return split;
  const std::vector<MirrorFlips> mirrors = scene.symmetry.mirrors();
  // Per object its index and what each element has been taken as.
  enum Taken : uint8_t { No, AsOriginal, AsImage };
  struct PerObject {
    std::unique_ptr<MirrorIndex> index;
    std::vector<Taken> taken;
  };
  std::map<int32_t, PerObject> objects;
  const std::vector<ElementRef> entries = liveEntries(scene);
  split.originals.reserve(entries.size());
  split.images.reserve(entries.size());
  for (const ElementRef &ref : entries) {
    PerObject &o = objects[ref.object];
    if (!o.index) {
      const moObject &obj = *scene.object(ref.object);
      o.index = std::make_unique<MirrorIndex>(obj);
      o.taken.resize(size_t(m == moVERTICES ? obj.vertices.count()
                            : m == moEDGES  ? obj.edges.count()
                                            : obj.faces.count()));
    }
    if (o.taken[size_t(ref.element)] != No)
      continue;
    o.taken[size_t(ref.element)] = AsOriginal;
    split.originals.push_back(ref);
    bool lacking = false;
    for (MirrorFlips flips : mirrors) {
      const int32_t image = imageOf(*o.index, m, ref.element, flips);
      lacking = lacking || image == -1;
      if (image != -1 && o.taken[size_t(image)] == No) {
        o.taken[size_t(image)] = AsImage;
        split.images.push_back({image, ref.object});
      }
    }
    split.missing += lacking;
  }
  return split;
}

void MirrorFollowers::clear() {
  images_.clear();
  onPlane_.clear();
}

namespace {

using CornerPairs = std::vector<std::pair<int32_t, int32_t>>; // (vertex, its image)

std::vector<int32_t> cornersOf(const moObject &obj, int32_t f) {
  std::vector<int32_t> corners;
  obj.forEachEdgeOfFace(f, false, [&](int32_t e) { corners.push_back(obj.startVertex(e, f)); });
  return corners;
}

float apart(const moObject &obj, int32_t v, int32_t w, MirrorFlips flips) {
  return lengthSquared(
      subtract(obj.vertices[w].Coordinates, mirrored(obj.vertices[v].Coordinates, flips)));
}

// The corners of an element matched with those of its image, through the rings: a mirror turns
// a face's corner order around, so corner i goes with image corner j0 - i, or j0 + i for a face
// that turned over anyway, whichever lies nearer.
CornerPairs cornerPairs(const moObject &obj, SelectionMode m, int32_t e, int32_t image,
                        MirrorFlips flips) {
  if (m == moVERTICES)
    return {{e, image}};
  if (m == moEDGES) {
    const moEdge &a = obj.edges[e], &b = obj.edges[image];
    const bool straight = apart(obj, a.Head, b.Head, flips) + apart(obj, a.Tail, b.Tail, flips) <=
                          apart(obj, a.Head, b.Tail, flips) + apart(obj, a.Tail, b.Head, flips);
    return straight ? CornerPairs{{a.Head, b.Head}, {a.Tail, b.Tail}}
                    : CornerPairs{{a.Head, b.Tail}, {a.Tail, b.Head}};
  }
  const std::vector<int32_t> c = cornersOf(obj, e), d = cornersOf(obj, image);
  const size_t k = c.size();
  if (d.size() != k || k == 0)
    return {};
  CornerPairs best;
  float bestDistance = kFloatMax;
  for (size_t j0 = 0; j0 < k; ++j0)
    for (const size_t turn : {k - 1, size_t(1)}) {
      CornerPairs pairs;
      float sum = 0;
      for (size_t i = 0; i < k; ++i) {
        const int32_t w = d[(j0 + turn * i) % k];
        pairs.push_back({c[i], w});
        sum += apart(obj, c[i], w, flips);
      }
      if (sum < bestDistance) {
        bestDistance = sum;
        best = pairs;
      }
    }
  return best;
}

} // namespace

void MirrorFollowers::pair(const Scene &scene, bool amongSelected) {
  const std::vector<MirrorFlips> mirrors = scene.symmetry.mirrors();
  const std::vector<ElementRef> entries = liveEntries(scene);
  std::map<int32_t, std::vector<ElementRef>> perObject;
  for (const ElementRef &ref : entries)
    perObject[ref.object].push_back(ref);
  for (const auto &[slot, refs] : perObject) {
    const moObject &obj = *scene.object(slot);
    // The selected elements' vertices in order of discovery, each once.
    std::vector<int32_t> list;
    std::vector<bool> seen(size_t(obj.vertices.count()));
    for (const ElementRef &ref : refs)
      forEachVertexOf(obj, scene.mode, ref.element, [&](int32_t v) {
        if (obj.vertices.contains(v) && !seen[size_t(v)]) {
          seen[size_t(v)] = true;
          list.push_back(v);
        }
      });
    const MirrorIndex index = amongSelected ? MirrorIndex(obj, list) : MirrorIndex(obj);
    // Images through the elements first: of vertices lying on one another, the one the element's
    // image holds. Then the nearest image for vertices whose elements have none.
    std::map<std::pair<int32_t, MirrorFlips>, int32_t> proposed;
    for (const ElementRef &ref : refs)
      for (MirrorFlips flips : mirrors) {
        const int32_t image = imageOf(index, scene.mode, ref.element, flips);
        if (image != -1)
          for (const auto &[v, w] : cornerPairs(obj, scene.mode, ref.element, image, flips))
            proposed.insert({{v, flips}, w});
      }
    pairList(slot, obj, list, index, mirrors, proposed, false);
  }
}

void MirrorFollowers::pairAmong(const Scene &scene, int32_t slot,
                                const std::vector<int32_t> &vertices, bool lonelyOnPlane) {
  const moObject &obj = *scene.object(slot);
  pairList(slot, obj, vertices, MirrorIndex(obj, vertices), scene.symmetry.mirrors(), {},
           lonelyOnPlane);
}

void MirrorFollowers::pairList(int32_t slot, const moObject &obj, const std::vector<int32_t> &list,
                               const MirrorIndex &index, const std::vector<MirrorFlips> &mirrors,
                               const std::map<std::pair<int32_t, MirrorFlips>, int32_t> &proposed,
                               bool lonelyOnPlane) {
  enum Role : uint8_t { Free, Original, Taken };
  std::vector<Role> role(size_t(obj.vertices.count()), Free);
  const auto available = [&](int32_t v, int32_t u) { return u == v || role[size_t(u)] == Free; };
  for (int32_t v : list) {
    if (!obj.vertices.contains(v) || role[size_t(v)] != Free)
      continue;
    role[size_t(v)] = Original;
    MirrorFlips planes = 0;
    const moVec3 p = obj.vertices[v].Coordinates;
    for (MirrorFlips flips : mirrors) {
      const auto it = proposed.find({v, flips});
      int32_t w = it != proposed.end() && available(v, it->second) ? it->second : -1;
      if (w == -1)
        w = index.find(mirrored(p, flips), [&](int32_t u) { return available(v, u); });
      if (w == v || (w == -1 && lonelyOnPlane))
        planes |= flips;
      else if (w != -1) {
        role[size_t(w)] = Taken;
        images_.push_back({slot, w, v, flips});
      }
    }
    if (planes)
      onPlane_.push_back({slot, v, planes});
  }
}

namespace {

// How many live vertices, edges and faces of obj have no image under some mirror.
int32_t lackingMirror(const moObject &obj, const std::vector<MirrorFlips> &mirrors) {
  const MirrorIndex index(obj);
  int32_t count = 0;
  for (MirrorFlips flips : mirrors) {
    for (int32_t v = 0; v < obj.vertices.count(); ++v)
      count += obj.vertices[v].active() && index.vertexImage(v, flips) == -1;
    for (int32_t e = 0; e < obj.edges.count(); ++e)
      count += obj.edges[e].active() && index.edgeImage(e, flips) == -1;
    for (int32_t f = 0; f < obj.faces.count(); ++f)
      count += obj.faces[f].active() && index.faceImage(f, flips) == -1;
  }
  return count;
}

} // namespace

void MirrorFollowers::noteBefore(const Scene &scene) {
  joined_ = liveEntries(scene);
  lackingBefore_.clear();
  const std::vector<MirrorFlips> mirrors = scene.symmetry.mirrors();
  for (const ElementRef &ref : joined_)
    if (std::find_if(lackingBefore_.begin(), lackingBefore_.end(),
                     [&](const auto &s) { return s.first == ref.object; }) == lackingBefore_.end())
      lackingBefore_.push_back({ref.object, lackingMirror(*scene.object(ref.object), mirrors)});
}

bool MirrorFollowers::noWorse(const Scene &scene) const {
  const std::vector<MirrorFlips> mirrors = scene.symmetry.mirrors();
  for (const auto &[slot, before] : lackingBefore_)
    if (const moObject *obj = scene.object(slot); obj && lackingMirror(*obj, mirrors) > before)
      return false;
  return true;
}

void MirrorFollowers::apply(Scene &scene) const {
  const auto live = [&](int32_t slot, int32_t v) -> moVertex * {
    moObject *obj = scene.object(slot);
    return obj && obj->vertices.contains(v) && obj->vertices[v].active() ? &obj->vertices[v]
                                                                         : nullptr;
  };
  // Plane vertices first: an image of one then lies on that plane too.
  for (const OnPlane &p : onPlane_)
    if (moVertex *vertex = live(p.slot, p.vertex)) {
      moVec3 &c = vertex->Coordinates;
      c = {p.flips & 1 ? 0.0f : c.x, p.flips & 2 ? 0.0f : c.y, p.flips & 4 ? 0.0f : c.z};
    }
  for (const Image &image : images_) {
    moVertex *original = live(image.slot, image.original);
    if (moVertex *vertex = live(image.slot, image.vertex); vertex && original)
      vertex->Coordinates = mirrored(original->Coordinates, image.flips);
  }
}

bool beginSymmetricOperation(Scene &scene, MirrorRule rule) {
  scene.mirrorFollowers.clear();
  scene.mirrorFollowers.setRunning(false);
  if (rule == MirrorRule::None)
    return false;
  const MirroredSelection split = mirrorSelection(scene);
  if (split.originals.empty())
    return false;
  if (split.missing > 0) {
    scene.ui().setStatus("not symmetric: " + std::to_string(split.missing) +
                         " elements have no mirror");
    return false;
  }
  scene.mirrorFollowers.setRunning(true);
  scene.selection.Clear();
  for (const ElementRef &ref : split.originals)
    scene.selection.Append(ref);
  if (rule == MirrorRule::Join) {
    for (const ElementRef &ref : split.images)
      scene.selection.Append(ref);
    scene.mirrorFollowers.noteBefore(scene);
  } else
    scene.mirrorFollowers.pair(scene, false);
  return true;
}

bool finishSymmetricOperation(Scene &scene, MirrorRule rule) {
  if (rule == MirrorRule::Join && symmetricMode(scene.mode))
    scene.mirrorFollowers.pair(scene, true);
  followMirrors(scene);
  if (rule != MirrorRule::Join || scene.mirrorFollowers.noWorse(scene))
    return true;
  scene.ui().setStatus("Symmetry: the two sides would come out different; nothing changed");
  return false;
}

void followMirrors(Scene &scene) { scene.mirrorFollowers.apply(scene); }
