#include "ops/measurements.h"
#include "tests/ops/ops_fixture.h"

namespace {

class MeasurementsTest : public OpsTest {
protected:
  void SetUp() override { slot = addMesh(cubeMesh()); } // the cube from -1 to 1
  void selectIn(SelectionMode mode, std::initializer_list<int32_t> elements) {
    scene.SetMode(mode);
    scene.clearSelection();
    for (int32_t e : elements)
      scene.selection.Append({e, slot});
  }
  int32_t slot = -1;
};

TEST_F(MeasurementsTest, TwoVerticesGiveTheirDistanceAndItsComponents) {
  at(slot, 0) = {0.5f, -1, -1};
  selectIn(moVERTICES, {0, 7}); // (0.5, -1, -1) and (1, 1, 1)
  EXPECT_EQ(measureSelection(scene), "Distance 2.872 (x 0.500, y 2.000, z 2.000)");
  selectIn(moVERTICES, {7});
  EXPECT_EQ(measureSelection(scene), "");
  selectIn(moVERTICES, {0, 6, 7});
  EXPECT_EQ(measureSelection(scene), "");
}

TEST_F(MeasurementsTest, AnEdgeItsLengthAFaceItsAreaAndNormal) {
  const moEdge &e = scene.object(slot)->edges[0];
  at(slot, e.Tail) = {0, 0, 0};
  at(slot, e.Head) = {3, 4, 0};
  selectIn(moEDGES, {0});
  EXPECT_EQ(measureSelection(scene), "Edge length 5.000");
  scene.objects.remove(slot);
  slot = addMesh(cubeMesh());
  selectIn(moFACES, {faceNear(*scene.object(slot), {0, 0, 1})});
  EXPECT_EQ(measureSelection(scene), "Face area 4.000, normal (0.000, 0.000, 1.000)");
  selectIn(moFACES, {0, 1});
  EXPECT_EQ(measureSelection(scene), "");
}

TEST_F(MeasurementsTest, AnObjectItsBoundingBoxAndEntriesThatNameNothingNoMeasure) {
  const int32_t box = addObject(boxObject({0, 0, 0}, {1, 2, 3.5f}));
  selectObjects({box});
  EXPECT_EQ(measureSelection(scene), "Object size 1.000 x 2.000 x 3.500");
  selectObjects({slot, box});
  EXPECT_EQ(measureSelection(scene), "");
  selectIn(moFACES, {999});
  EXPECT_EQ(measureSelection(scene), "");
  scene.SetMode(moFREE);
  EXPECT_EQ(measureSelection(scene), "");
}

} // namespace
