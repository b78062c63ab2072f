// Test helper: reads a VRML file with Coin3D, an independent and strict VRML97 reader, and prints
// "errors E shapes S points P faces F": the read errors Coin reported, the shapes in the scene
// graph (each use counted), and the points and faces of its distinct coordinate nodes and
// indexed face sets; optionally it writes the graph again, as a file made by another tool. Exit
// status 0 when the file was read (and written) at all.
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/VRMLnodes/SoVRMLCoordinate.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/actions/SoWriteAction.h>
#include <Inventor/errors/SoDebugError.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/misc/SoChildList.h>
#include <Inventor/nodes/SoSeparator.h>

#include <cstdio>
#include <set>

namespace {

int errors = 0;

void countError(const SoError *error, void *) {
  if (error->isOfType(SoDebugError::getClassTypeId()) &&
      static_cast<const SoDebugError *>(error)->getSeverity() != SoDebugError::ERROR)
    return;
  ++errors;
  std::fprintf(stderr, "%s\n", error->getDebugString().getString());
}

// Counts in uses every use of a node of the type under node (node included) and adds each such
// node to nodes. The walk goes through getChildren(), which also lists the nodes held in fields (a
// shape's geometry, a face set's coordinates), and through every choice of a switch, as a search
// of everything does. A search action is not used: its paths stop at the first hidden child,
// and reaching their tail needs the cast to SoFullPath, a type those path objects are not of.
void collect(SoNode *node, SoType type, std::set<SoNode *> &nodes, int &uses) {
  if (node->isOfType(type)) {
    nodes.insert(node);
    ++uses;
  }
  if (const SoChildList *children = node->getChildren())
    for (int i = 0; i < children->getLength(); ++i)
      collect((*children)[i], type, nodes, uses);
}

// The distinct nodes of a type in the graph; uses counts each use.
std::set<SoNode *> nodesOf(SoNode *root, SoType type, int &uses) {
  std::set<SoNode *> nodes;
  uses = 0;
  collect(root, type, nodes, uses);
  return nodes;
}

// Writes the top-level nodes again as a VRML 2.0 file of Coin's own making.
bool rewrite(SoSeparator *root, const char *path) {
  SoOutput out;
  if (!out.openFile(path))
    return false;
  out.setHeaderString("#VRML V2.0 utf8");
  SoWriteAction write(&out);
  for (int i = 0; i < root->getNumChildren(); ++i)
    write.apply(root->getChild(i));
  out.closeFile();
  return true;
}

// Reads, counts and prints; writes what was read to rewritten unless that is null.
bool check(const char *path, const char *rewritten) {
  SoInput in;
  if (!in.openFile(path))
    return false;
  SoSeparator *root = SoDB::readAll(&in);
  if (!root)
    return false;
  root->ref();
  int shapes = 0, uses = 0;
  long points = 0, faces = 0;
  nodesOf(root, SoVRMLShape::getClassTypeId(), shapes);
  for (SoNode *n : nodesOf(root, SoVRMLCoordinate::getClassTypeId(), uses))
    points += static_cast<SoVRMLCoordinate *>(n)->point.getNum();
  for (SoNode *n : nodesOf(root, SoVRMLIndexedFaceSet::getClassTypeId(), uses)) {
    const SoMFInt32 &index = static_cast<SoVRMLIndexedFaceSet *>(n)->coordIndex;
    const int32_t *values = index.getValues(0);
    for (int i = 0; i < index.getNum(); ++i)
      faces += values[i] == -1;
  }
  std::printf("errors %d shapes %d points %ld faces %ld\n", errors, shapes, points, faces);
  const bool written = !rewritten || rewrite(root, rewritten);
  root->unref();
  return written;
}

} // namespace

// check FILE [REWRITTEN]: with REWRITTEN, also writes what was read to that file.
int main(int argc, char **argv) {
  if (argc != 2 && argc != 3)
    return 2;
  SoDB::init();
  SoReadError::setHandlerCallback(countError, nullptr);
  SoDebugError::setHandlerCallback(countError, nullptr);
  const bool ok = check(argv[1], argc == 3 ? argv[2] : nullptr);
  // Coin frees what init made only here; without it LeakSanitizer reports Coin's own fields.
  SoDB::finish();
  return ok ? 0 : 1;
}
