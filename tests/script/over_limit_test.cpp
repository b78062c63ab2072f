// Importing a model with more triangles than an object holds: the question, the simplified
// object and the refusal.
#include "core/mesh_validation.h"
#include "interchange/mesh_simplify.h"
#include "scene/recording_ui.h"
#include "scene/scene.h"
#include "script/file_session.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(OverLimitImport, AskedSimplifyGivesAValidClosedObjectUnderTheLimitAndCancelRefuses) {
  if (!simplificationAvailable())
    GTEST_SKIP() << "built without libmeshoptimizer: no simplification";
  const fs::path path = fs::temp_directory_path() / "morvo_over_limit_sphere.obj";
  std::ofstream(path) << objText(sphereMesh(250, 201)); // 100 000 triangles
  RecordingUi ui;
  Scene scene(ui);
  FileSession files(scene, ui);

  ui.queueAnswer(UserInterface::Answer::Cancel);
  EXPECT_FALSE(files.importPath(path.string()));
  ASSERT_EQ(ui.questions.size(), 1u);
  EXPECT_EQ(ui.questions[0], "morvo_over_limit_sphere.obj has 100 000 triangles; an object "
                             "holds at most 32768 faces. Simplify it to fit?");
  EXPECT_EQ(scene.objects.objectCount(), 0);
  ASSERT_FALSE(ui.messages.empty());
  EXPECT_NE(ui.messages.back().find("an object holds at most 32768 faces"), std::string::npos);

  ui.queueAnswer(UserInterface::Answer::Yes);
  ASSERT_TRUE(files.importPath(path.string())) << ui.messages.back();
  fs::remove(path);
  ASSERT_EQ(scene.objects.objectCount(), 1);
  const moObject &obj = *scene.object(0);
  EXPECT_TRUE(objectLocallyValid(obj, true));
  int32_t vertices = 0, edges = 0, faces = 0;
  for (const moVertex &v : obj.vertices)
    if (v.active()) {
      ++vertices;
      EXPECT_NEAR(std::sqrt(dot(v.Coordinates, v.Coordinates)), 1.0f, 1e-3f);
    }
  for (const moEdge &e : obj.edges)
    edges += e.active() ? 1 : 0;
  for (const moFace &f : obj.faces)
    faces += f.active() ? 1 : 0;
  EXPECT_LE(faces, 30000);
  EXPECT_GT(faces, 29000);
  // Closed with nothing the builder had to fill in: triangles only, every edge between two.
  EXPECT_EQ(2 * edges, 3 * faces);
  EXPECT_GT(vertices, faces / 2 - 10);
  EXPECT_NE(ui.status.find(": simplified from 100 000 to "), std::string::npos) << ui.status;
  EXPECT_NE(ui.status.find(" triangles, error "), std::string::npos) << ui.status;
}
