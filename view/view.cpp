#include "view/view.h"

#include <cmath>

void View::resize(int32_t width, int32_t height, double pixelRatio) {
  camera.width = width;
  camera.height = height;
  camera.deviceWidth = int32_t(std::lround(width * pixelRatio));
  camera.deviceHeight = int32_t(std::lround(height * pixelRatio));
  camera.perspective = 1;
}

void View::setAngles(float elevation, float azimuth) {
  camera.elevation = cameraMode.elevationCopy = elevation;
  camera.azimuth = cameraMode.azimuthCopy = azimuth;
}

void View::DefaultView() { setAngles(15, -45); }

void View::ResetCamera() {
  camera.distance = -110;
  camera.target = {0, 0, 0};
  setAngles(0, 0);
  DefaultView();
}

void View::ViewAlong(int32_t axis) {
  switch (axis) {
  case 0:
    setAngles(0, -90);
    break;
  case 1:
    setAngles(90, 0);
    break;
  case 2:
    setAngles(0, 0);
    break;
  case 7:
    setAngles(0, 90);
    break;
  case 8:
    setAngles(-90, 0);
    break;
  case 9:
    setAngles(0, 180);
    break;
  default:
    break;
  }
}

void View::AimAtSelection(const Scene &scene) {
  const moVec3 old = camera.target;
  camera.target = scene.selectionCentre();
  const moVec3 d = subtract(old, camera.target);
  const double e = camera.elevation * kDegreesToRadians, a = camera.azimuth * kDegreesToRadians;
  camera.distance -=
      float(std::sin(e) * d.y - std::sin(a) * std::cos(e) * d.x + std::cos(a) * std::cos(e) * d.z);
}

void View::PanCamera(int32_t dx, int32_t dy) {
  const moMatrix4 modelview = camera.viewMatrix(), projection = camera.projectionMatrix();
  const Viewport vp = camera.viewport();
  const int32_t cx = camera.width / 2, cy = camera.height / 2;
  moVec3 centre, moved;
  if (!unproject(cx, cy, 0, modelview, projection, vp, centre) ||
      !unproject(cx + dx, cy + dy, 0, modelview, projection, vp, moved))
    return;
  moVec3 step = subtract(moved, centre);
  if (camera.perspective)
    step = scale(100.0f, step);
  camera.target = add(camera.target, step);
}
