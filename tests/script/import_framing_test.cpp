// Framing after a file brought objects: the hook hears of exactly the new objects, a model far
// off or tiny is framed, one seen well leaves the camera alone.
#include "scene/recording_ui.h"
#include "scene/scene.h"
#include "script/file_session.h"
#include "tests/support/mesh_fixtures.h"
#include "view/view.h"
#include "view/view_framing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A cube of side 2 * half centred at (x, 0, 0), as an OBJ file.
std::string cubeFile(const char *name, float half, float x) {
  PolygonMesh cube = cubeMesh();
  for (moVec3 &p : cube.points)
    p = {half * p.x + x, half * p.y, half * p.z};
  const fs::path path = fs::temp_directory_path() / name;
  std::ofstream(path) << objText(cube);
  return path.string();
}

} // namespace

TEST(ImportFraming, FarOrTinyModelsAreFramedAndModelsSeenWellAreNot) {
  RecordingUi ui;
  Scene scene(ui);
  FileSession files(scene, ui);
  View view;
  view.resize(720, 486);
  view.ResetCamera();
  std::vector<std::vector<int32_t>> heard;
  files.hooks.frameObjects = [&](const std::vector<int32_t> &slots) {
    heard.push_back(slots);
    frameObjects(view.camera, scene, slots);
  };
  const std::string seen = cubeFile("morvo_frame_seen.obj", 10, 0);
  const std::string far = cubeFile("morvo_frame_far.obj", 100, 1000);
  const std::string tiny = cubeFile("morvo_frame_tiny.obj", 0.005f, 0);

  ASSERT_TRUE(files.importPath(seen));
  const Camera before = view.camera;
  EXPECT_EQ(before.distance, -110.0f); // a 20-unit cube at the origin is seen well
  for (const std::string &path : {far, tiny}) {
    view.ResetCamera();
    ASSERT_TRUE(files.importPath(path));
    const moObject &obj = *scene.object(heard.back().front());
    moVec3 lo = obj.vertices[0].Coordinates, hi = lo;
    for (const moVertex &v : obj.vertices) {
      lo = {std::min(lo.x, v.Coordinates.x), std::min(lo.y, v.Coordinates.y),
            std::min(lo.z, v.Coordinates.z)};
      hi = {std::max(hi.x, v.Coordinates.x), std::max(hi.y, v.Coordinates.y),
            std::max(hi.z, v.Coordinates.z)};
    }
    EXPECT_TRUE(boxWellInView(view.camera, lo, hi) || path == tiny) << path;
    EXPECT_NEAR(view.camera.target.x, (lo.x + hi.x) / 2, 1e-3f) << path;
  }
  EXPECT_EQ(heard, (std::vector<std::vector<int32_t>>{{0}, {1}, {2}}));
  for (const std::string &path : {seen, far, tiny})
    fs::remove(path);
}
