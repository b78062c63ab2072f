#include "scene/recording_ui.h"
#include "view/view.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

View sizedView() {
  View view;
  view.resize(720, 486);
  view.ResetCamera();
  return view;
}

TEST(Camera, ResetGivesTheDefaultOrbitAndKeepsTheProjectionKind) {
  View view = sizedView();
  view.ViewAlong(9);
  EXPECT_EQ(view.camera.azimuth, 180);
  view.camera.distance = -40;
  view.camera.target = {1, 2, 3};
  view.SetPerspective(false);
  view.ResetCamera();
  EXPECT_EQ(view.camera.elevation, 15);
  EXPECT_EQ(view.camera.azimuth, -45);
  EXPECT_EQ(view.cameraMode.azimuthCopy, -45);
  EXPECT_EQ(view.camera.distance, -110);
  EXPECT_TRUE(equals(view.camera.target, {0, 0, 0}));
  EXPECT_EQ(view.camera.perspective, 0);
  view.resize(640, 480); // a resize goes back to perspective
  EXPECT_EQ(view.camera.perspective, 1);
}

TEST(Camera, ViewAlongSetsOnlyTheAngles) {
  View view = sizedView();
  const struct {
    int32_t axis;
    float elevation, azimuth;
  } views[] = {{0, 0, -90}, {1, 90, 0}, {2, 0, 0}, {7, 0, 90}, {8, -90, 0}, {9, 0, 180}};
  for (const auto &v : views) {
    view.camera.distance = -77;
    view.ViewAlong(v.axis);
    EXPECT_EQ(view.camera.elevation, v.elevation);
    EXPECT_EQ(view.camera.azimuth, v.azimuth);
    EXPECT_EQ(view.camera.distance, -77);
  }
  view.ViewAlong(5);
  EXPECT_EQ(view.camera.azimuth, 180);
}

TEST(Camera, OrbitClampsElevationAndWrapsAzimuth) {
  View view = sizedView();
  view.cameraMode.orbit(view.camera, 0, 0, 0, 1000); // 500 degrees up
  EXPECT_FLOAT_EQ(view.camera.elevation, 89.9f);
  view.cameraMode.orbit(view.camera, 0, 2000, 0, 0);
  EXPECT_FLOAT_EQ(view.camera.elevation, -89.9f);
  view.cameraMode.orbit(view.camera, -700, 0, 0, 0); // azimuth -45 + 350
  EXPECT_FLOAT_EQ(view.camera.azimuth, 305);
  view.cameraMode.orbit(view.camera, -200, 0, 0, 0);
  EXPECT_FLOAT_EQ(view.camera.azimuth, 45); // 405 wraps
}

TEST(Camera, ZoomMultipliesPerPixelAndTheWheelByNotches) {
  View view = sizedView();
  view.cameraMode.zoom(view.camera, 90, 100, 0, -10);
  EXPECT_NEAR(view.camera.distance, -110 * std::pow(0.999, 10), 1e-3);
  view.ResetCamera();
  view.cameraMode.zoom(view.camera, 110, 100, 0, 10);
  EXPECT_NEAR(view.camera.distance, -110 * std::pow(1.001, 10), 1e-3);

  view.ResetCamera();
  wheelZoom(view.camera, 120);
  EXPECT_NEAR(view.camera.distance, -99.0f, 1e-3);
  wheelZoom(view.camera, -60);
  EXPECT_NEAR(view.camera.distance, -99.0f / std::sqrt(0.9f), 1e-3);
  view.camera.distance = -0.2f; // the same share of the way on a small object
  wheelZoom(view.camera, 120);
  EXPECT_NEAR(view.camera.distance, -0.18f, 1e-6);
  wheelZoom(view.camera, 120 * 240);
  EXPECT_LT(view.camera.distance, 0); // never through the target

  view.camera.distance = 2;
  // Seen from beyond the target: the eye is on the other side, and the next orbit move turns the
  // camera into the equivalent negative distance.
  const moVec3 eyeBefore = [&] {
    moVec3 eye;
    unproject(360, 243, 0, view.camera.viewMatrix(), view.camera.perspectiveMatrix(),
              view.camera.viewport(), eye);
    return eye;
  }();
  const float d = view.camera.distance;
  view.cameraMode.orbit(view.camera, 0, 0, 0, 0);
  EXPECT_FLOAT_EQ(view.camera.distance, -d);
  EXPECT_FLOAT_EQ(view.camera.azimuth, -45 + 180);
  moVec3 eyeAfter;
  unproject(360, 243, 0, view.camera.viewMatrix(), view.camera.perspectiveMatrix(),
            view.camera.viewport(), eyeAfter);
  EXPECT_NEAR(distance(eyeBefore, eyeAfter), 0, 1e-3);
}

TEST(Camera, AimMovesTheTargetAndKeepsTheEyeDepth) {
  RecordingUi ui;
  Scene scene(ui);
  View view = sizedView();
  view.camera.target = {5, 5, 5};
  view.AimAtSelection(scene);
  EXPECT_TRUE(equals(view.camera.target, {0, 0, 0}));

  scene.createPrimitive(PrimitiveType::Cube);
  scene.SetMode(moVERTICES);
  scene.selection.Append({2, 0}); // (10, 10, 10)
  view.ResetCamera();
  view.ViewAlong(2); // looking down -z: the depth is along z
  view.AimAtSelection(scene);
  EXPECT_TRUE(equals(view.camera.target, {10, 10, 10}));
  EXPECT_FLOAT_EQ(view.camera.distance, -110 + 10);
}

TEST(Camera, PanStepsAreNearPlaneStepsTimesAHundredInPerspective) {
  View view = sizedView();
  view.ViewAlong(2);
  view.PanCamera(10, 0);
  // At the near plane (depth 1) a pixel is 2 * 0.000625 units wide: ten are 0.0125.
  EXPECT_NEAR(view.camera.target.x, 100 * 0.0125, 1e-4);
  EXPECT_NEAR(view.camera.target.y, 0, 1e-5);
  view.camera.target = {0, 0, 0};
  view.SetPerspective(false);
  view.PanCamera(0, 10);
  // Orthographically one pixel shows what the frustum shows at the target's depth: 110 times.
  EXPECT_NEAR(view.camera.target.y, 0.0125 * 110, 1e-3);
}

TEST(Camera, SpinFlickTurnsAQuarterAtOnceThenHalfThePeakPerTick) {
  View view = sizedView();
  CameraMode &spin = view.cameraMode;
  spin.spinArmed = true;
  for (int32_t h : {5, 12, 20, 8})
    spin.trackSpin(h);
  EXPECT_EQ(spin.spinPeak, 20);
  ASSERT_TRUE(spin.releaseSpin(view.camera));
  EXPECT_FLOAT_EQ(view.camera.azimuth, -45 - 5);
  EXPECT_TRUE(spin.spinTick(view.camera));
  EXPECT_FLOAT_EQ(view.camera.azimuth, -45 - 5 - 10);
  EXPECT_EQ(spin.spinPeak, 0);
  spin.spinArmed = false; // a button press
  EXPECT_FALSE(spin.spinTick(view.camera));
  // A reversal resets the peak; a release without a peak disarms.
  spin.spinArmed = true;
  spin.trackSpin(-6);
  spin.trackSpin(3);
  EXPECT_EQ(spin.spinPeak, 0);
  EXPECT_FALSE(spin.releaseSpin(view.camera));
  EXPECT_FALSE(spin.spinArmed);
  // While armed, a mainly horizontal drag is a spin gesture and does not zoom.
  spin.spinArmed = true;
  EXPECT_FALSE(spin.zoom(view.camera, 101, 100, 30, 1));
  EXPECT_TRUE(spin.zoom(view.camera, 110, 100, 2, 10));
  EXPECT_FALSE(spin.spinArmed);
}

TEST(Camera, ProjectionAndUnprojectionAgree) {
  View view = sizedView();
  const moMatrix4 mv = view.camera.viewMatrix(), pr = view.camera.projectionMatrix();
  moVec3 window, back;
  ASSERT_TRUE(project({10, -5, 3}, mv, pr, view.camera.viewport(), window));
  ASSERT_TRUE(unproject(window.x, window.y, window.z, mv, pr, view.camera.viewport(), back));
  EXPECT_NEAR(back.x, 10, 1e-3);
  EXPECT_NEAR(back.y, -5, 1e-3);
  EXPECT_NEAR(back.z, 3, 1e-3);
  // The target is at the centre of the window.
  ASSERT_TRUE(project({0, 0, 0}, mv, pr, view.camera.viewport(), window));
  EXPECT_NEAR(window.x, 360, 1e-3);
  EXPECT_NEAR(window.y, 243, 1e-3);
}

// On a high-density screen only the frame buffer grows: the projection, orthographic extents
// included, is that of the window's size, and the device size rounds as Qt rounds it.
TEST(Camera, DevicePixelRatioChangesOnlyTheFrameBufferSize) {
  for (const bool perspective : {true, false}) {
    View one = sizedView(), scaled = sizedView();
    scaled.resize(721, 486, 1.5);
    one.resize(721, 486);
    one.SetPerspective(perspective);
    scaled.SetPerspective(perspective);
    const moMatrix4 a = one.camera.projectionMatrix(), b = scaled.camera.projectionMatrix();
    for (int i = 0; i < 16; ++i)
      EXPECT_EQ(a.m[i], b.m[i]) << i;
    EXPECT_EQ(721, scaled.camera.width);
    EXPECT_EQ(1082, scaled.camera.deviceWidth); // 1081.5 rounds up
    EXPECT_EQ(729, scaled.camera.deviceHeight);
    EXPECT_FLOAT_EQ(1082.0f / 721.0f, scaled.camera.pixelRatio());
    EXPECT_EQ(one.camera.deviceWidth, one.camera.width);
  }
}

} // namespace
