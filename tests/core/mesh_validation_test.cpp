#include "core/mesh_validation.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

std::string addressOf(const void *p) {
  std::ostringstream s;
  s << p;
  return s.str();
}

TEST(MeshValidation, FreshCubePassesWithOnlyTheHeading) {
  const moObject cube = makeObject(cubeMesh());
  CaptureStderr();
  EXPECT_TRUE(objectLocallyValid(cube, false));
  EXPECT_EQ(GetCapturedStderr(), "");
  CaptureStderr();
  EXPECT_TRUE(objectLocallyValid(cube, true));
  EXPECT_EQ(GetCapturedStderr(), "testing local validity of object\n");
}

TEST(MeshValidation, BrokenForeWingIsReportedWithItsDump) {
  moObject cube = makeObject(cubeMesh());
  const int32_t e = cube.findEdge(6, 7);
  const int32_t far = cube.findEdge(0, 1); // shares no vertex with edge 6-7
  cube.edges[e].ForeWing = far;
  CaptureStderr();
  EXPECT_FALSE(objectLocallyValid(cube, false));
  EXPECT_EQ(GetCapturedStderr(), "");

  const moEdge &d = cube.edges[e];
  std::ostringstream expected;
  expected << "  edge " << e << " fails to share vertex with fore wing\n"
           << "Edge " << addressOf(&d) << ":\n"
           << "    Tail = " << d.Tail << ", Head = " << d.Head << "    LeftFace = " << d.LeftFace
           << ", RightFace = " << d.RightFace << ",\n"
           << "    BackWing = " << d.BackWing << ", ccwBackWing = " << d.ccwBackWing
           << ", ccwForeWing = " << d.ccwForeWing << ", ForeWing = " << d.ForeWing << "\n"
           << "\n";
  CaptureStderr();
  EXPECT_FALSE(edgeLocallyValid(cube, e, true));
  EXPECT_EQ(GetCapturedStderr(), expected.str());
  // The object test reports it under its heading; the old fore wing, which still names the edge,
  // is reported as well.
  CaptureStderr();
  EXPECT_FALSE(objectLocallyValid(cube, true));
  const std::string out = GetCapturedStderr();
  EXPECT_EQ(out.rfind("testing local validity of object\n" + expected.str() +
                          "locally invalid edge: " + std::to_string(e) + "\n",
                      0),
            0u);
}

TEST(MeshValidation, WrongBackPointerAndSharedFaceAreTold) {
  moObject cube = makeObject(cubeMesh());
  const int32_t e = cube.findEdge(6, 7);
  const int32_t w = cube.edges[e].ForeWing;
  // The fore wing keeps sharing the head and the face but no longer points back.
  const int32_t head = cube.edges[e].Head;
  int32_t &back =
      cube.edges[w].Head == head ? cube.edges[w].ccwForeWing : cube.edges[w].ccwBackWing;
  back = cube.edges[e].BackWing;
  CaptureStderr();
  EXPECT_FALSE(edgeLocallyValid(cube, e, true));
  const std::string out = GetCapturedStderr();
  EXPECT_NE(out.find("  edge " + std::to_string(e) + " fails to be pointed to by fore wing\n"),
            std::string::npos);
  EXPECT_EQ(out.find("fails to share face"), std::string::npos);
}

TEST(MeshValidation, InactiveElementsAreSkippedAndDanglingReferencesCaught) {
  moObject cube = makeObject(cubeMesh());
  cube.addVertex(5, 5, 5); // inactive vertex slot
  cube.appendFace();       // inactive face slot
  cube.appendEdge();       // inactive edge slot
  EXPECT_TRUE(objectLocallyValid(cube, false));

  cube.vertices[3].EdgeIndex = cube.findEdge(4, 6); // an edge without vertex 3
  CaptureStderr();
  EXPECT_FALSE(objectLocallyValid(cube, true));
  EXPECT_EQ(GetCapturedStderr(), "testing local validity of object\nlocally invalid vertex: 3\n");

  moObject other = makeObject(cubeMesh());
  other.edges[2].LeftFace = 99; // out of range: reported, never followed
  CaptureStderr();
  EXPECT_FALSE(objectLocallyValid(other, true));
  EXPECT_NE(GetCapturedStderr().find("  edge 2 has inactive faces\n"), std::string::npos);
}

TEST(MeshValidation, InternalValidityWantsDistinctFacesAndWings) {
  moObject cube = makeObject(cubeMesh());
  moEdge d = cube.edges[0];
  EXPECT_TRUE(edgeInternallyValid(d));
  d.BackWing = d.ForeWing;
  EXPECT_FALSE(edgeInternallyValid(d));
  d = cube.edges[0];
  d.LeftFace = d.RightFace;
  EXPECT_FALSE(edgeInternallyValid(d));
  d.Head = -1;
  EXPECT_TRUE(edgeInternallyValid(d)); // inactive
}

TEST(MeshDump, VertexAndFaceFormats) {
  moVertex v;
  v.Coordinates = {1.5f, -2, 0.25f};
  v.EdgeIndex = 7;
  std::ostringstream out;
  dumpVertex(out, v);
  EXPECT_EQ(out.str(), "Vertex " + addressOf(&v) + ": EdgeIndex = 7, Coordinates = 1.5 -2 0.25\n");
  moFace f;
  f.EdgeIndex = 3;
  out.str("");
  dumpFace(out, f);
  EXPECT_EQ(out.str(), "Face " + addressOf(&f) + ": EdgeIndex = 3\n");
}

} // namespace
