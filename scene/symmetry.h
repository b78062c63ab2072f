// Modeling symmetry: with a plane on, the operations on selected vertices, edges and faces also
// apply to the mirror images of those elements across that plane through the object's own
// model-space origin (x = 0 for X). The planes are view state, not part of scene files.
#pragma once

#include "scene/mirror_index.h"
#include "scene/selection.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Scene;

struct SymmetryPlanes {
  uint8_t axes = 0; // bits: 1 X, 2 Y, 4 Z
  bool any() const { return axes != 0; }
  bool on(int32_t axis) const { return axes & (1u << axis); }
  void toggle(int32_t axis) { axes ^= uint8_t(1u << axis); }
  // "Symmetry X", "Symmetry XZ"; empty with every plane off.
  std::string modeText() const;
  // Every mirror the planes make: each non-empty combination of the planes that are on.
  std::vector<MirrorFlips> mirrors() const;
};

// How an operation takes part in symmetry.
enum class MirrorRule : uint8_t {
  Join,   // the images join the selection and the operation runs on both; topology edits
  Follow, // the selection keeps its own elements; their mirror vertices follow every change
  None,   // the operation ignores symmetry
};

// The selection split by symmetry: the originals (entries that are no image of an earlier
// original, in selection order), their images that are not originals themselves (selected or
// not, each once), and how many originals lack an image under some mirror.
struct MirroredSelection {
  std::vector<ElementRef> originals, images;
  int32_t missing = 0;
};
// Empty unless symmetry is on and the mode is vertices, edges or faces; entries of hidden,
// insensitive or missing objects and elements are passed over. One index per object, built
// once. Throws moInvalidTopologyException for a broken ring.
MirroredSelection mirrorSelection(const Scene &scene);

// The mirror vertices an operation keeps at the mirrored positions of their originals, and the
// vertices on a plane (their own images) that it keeps exactly on it.
class MirrorFollowers {
public:
  // Forgets every pair; running() stays as it is.
  void clear();
  // Whether the operation under way runs symmetrically (set by beginSymmetricOperation).
  bool running() const { return running_; }
  void setRunning(bool value) { running_ = value; }
  // Pairs the vertices of the selected elements, in selection order, with their images: among
  // every vertex of the object, or only among the vertices of selected elements (after a topology
  // edit, where new vertices may lie on old ones). A vertex already taken as an image is no
  // original. The pairs are added to those already made.
  void pair(const Scene &scene, bool amongSelected);
  // Pairs the listed vertices of the object in `slot` among themselves, in list order, by
  // position alone. With lonelyOnPlane a vertex whose image under a mirror is none of them is
  // taken for its own image there: the vertex an element and its image were merged into.
  void pairAmong(const Scene &scene, int32_t slot, const std::vector<int32_t> &vertices,
                 bool lonelyOnPlane);
  // Puts every image at the mirror of its original and every plane vertex's coordinate across
  // the plane at exactly 0. Pairs whose vertices no longer exist are passed over.
  void apply(Scene &scene) const;
  bool empty() const { return images_.empty() && onPlane_.empty(); }
  // A topology edit's check: notes the selection it runs on and, per object of it, how many
  // vertices, edges and faces lack a mirror; then whether none of those objects has more now.
  void noteBefore(const Scene &scene);
  bool noWorse(const Scene &scene) const;
  const std::vector<ElementRef> &joined() const { return joined_; }

private:
  struct Image {
    int32_t slot, vertex, original;
    MirrorFlips flips;
  };
  struct OnPlane {
    int32_t slot, vertex;
    MirrorFlips flips; // the coordinates that stay 0
  };
  // Pairs the listed vertices of obj with their images (among those `index` holds), those of
  // `proposed` first, then the nearest free one.
  void pairList(int32_t slot, const moObject &obj, const std::vector<int32_t> &list,
                const MirrorIndex &index, const std::vector<MirrorFlips> &mirrors,
                const std::map<std::pair<int32_t, MirrorFlips>, int32_t> &proposed,
                bool lonelyOnPlane);

  std::vector<Image> images_;
  std::vector<OnPlane> onPlane_;
  std::vector<ElementRef> joined_;
  std::vector<std::pair<int32_t, int32_t>> lackingBefore_; // (slot, count)
  bool running_ = false;
};

// The operation protocol's part (Scene::runOperation). Before the change: with symmetry on, an
// element mode and a rule other than None, the selection becomes its originals, followed by
// their images under Join, and a Follow rule pairs the vertices. When an original lacks an image
// the selection is left alone, the status line says "not symmetric: N elements have no mirror"
// and false is returned, as it is whenever symmetry does not apply.
bool beginSymmetricOperation(Scene &scene, MirrorRule rule);
// After a change that ran symmetrically: a Join rule pairs the vertices of the resulting
// selection, then the images and plane vertices are put in place. Returns false, with the status
// line saying so, when a Join change left an object with more elements lacking a mirror than it
// had (where an element met its own image, say): the caller then takes the change back and
// restores the selection to joined().
bool finishSymmetricOperation(Scene &scene, MirrorRule rule);
// After each step of a drag: the followers of the running operation put in place.
void followMirrors(Scene &scene);
