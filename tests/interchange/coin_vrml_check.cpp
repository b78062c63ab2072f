// Test helper: reads a VRML file with Coin3D, an independent and strict VRML97 reader, and prints
// "errors E shapes S points P faces F": the read errors Coin reported, the shapes in the scene
// graph (each use counted), and the points and faces of its distinct coordinate nodes and
// indexed face sets; optionally it writes the graph again, as a file made by another tool. Exit
// status 0 when the file was read (and written) at all.
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoPath.h>
#include <Inventor/VRMLnodes/SoVRMLCoordinate.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>
#include <Inventor/VRMLnodes/SoVRMLShape.h>
#include <Inventor/actions/SoSearchAction.h>
#include <Inventor/actions/SoWriteAction.h>
#include <Inventor/errors/SoDebugError.h>
#include <Inventor/errors/SoReadError.h>
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

// The distinct nodes of a type in the graph.
std::set<SoNode *> nodesOf(SoNode *root, SoType type, int &uses) {
  SoSearchAction search;
  search.setType(type);
  search.setInterest(SoSearchAction::ALL);
  search.setSearchingAll(TRUE);
  search.apply(root);
  std::set<SoNode *> nodes;
  const SoPathList &paths = search.getPaths();
  uses = paths.getLength();
  for (int i = 0; i < paths.getLength(); ++i)
    nodes.insert(static_cast<SoFullPath *>(paths[i])->getTail()); // the tail inside fields too
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

} // namespace

// check FILE [REWRITTEN]: with REWRITTEN, also writes what was read to that file.
int main(int argc, char **argv) {
  if (argc != 2 && argc != 3)
    return 2;
  SoDB::init();
  SoReadError::setHandlerCallback(countError, nullptr);
  SoDebugError::setHandlerCallback(countError, nullptr);
  SoInput in;
  if (!in.openFile(argv[1]))
    return 1;
  SoSeparator *root = SoDB::readAll(&in);
  if (!root)
    return 1;
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
  const bool written = argc < 3 || rewrite(root, argv[2]);
  root->unref();
  return written ? 0 : 1;
}
