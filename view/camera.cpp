#include "view/camera.h"

#include <GL/gl.h>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float kPixelAngle = 0.000625f; // half-width of the near plane per pixel
constexpr double kNear = 1, kFar = 2000;

} // namespace

moMatrix4 Camera::viewMatrix() const {
  moMatrix4 m;
  if (distance <= 0) {
    m = translation(0, 0, distance);
    m = product(m, rotation({1, 0, 0}, elevation));
    m = product(m, rotation({0, 1, 0}, azimuth));
  } else {
    m = translation(0, 0, -distance);
    m = product(m, rotation({1, 0, 0}, -elevation));
    m = product(m, rotation({0, 1, 0}, azimuth + 180));
  }
  return product(m, translation(-target.x, -target.y, -target.z));
}

moMatrix4 Camera::perspectiveMatrix() const {
  const double w = width * double(kPixelAngle), h = height * double(kPixelAngle);
  return frustum(-w, w, -h, h, kNear, kFar);
}

moMatrix4 Camera::projectionMatrix() const {
  const moMatrix4 persp = perspectiveMatrix();
  if (perspective)
    return persp;
  moVec3 lo, hi;
  unproject(0, 0, 0, identity(), persp, viewport(), lo);
  unproject(width, height, 0, identity(), persp, viewport(), hi);
  const double scale = -double(distance);
  return ortho(lo.x * scale, hi.x * scale, lo.y * scale, hi.y * scale, kNear, kFar);
}

void Camera::ApplyProjection() const {
  glViewport(0, 0, deviceWidth, deviceHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadMatrixf(projectionMatrix().m);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (!perspective)
    SetupLights();
  glLightfv(GL_LIGHT0, GL_POSITION, light0Position);
  glLightfv(GL_LIGHT1, GL_POSITION, light1Position);
}

void Camera::LoadViewTransform(bool reset) const {
  if (reset)
    glLoadIdentity();
  glMultMatrixf(viewMatrix().m);
}

void Camera::SetupLights() const {
  glLightfv(GL_LIGHT0, GL_POSITION, light0Position);
  glLightfv(GL_LIGHT0, GL_AMBIENT, light0Ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, light0Diffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, light0Specular);
  glEnable(GL_LIGHT0);
  glLightfv(GL_LIGHT1, GL_POSITION, light1Position);
  glLightfv(GL_LIGHT1, GL_AMBIENT, light1Ambient);
  glLightfv(GL_LIGHT1, GL_DIFFUSE, light1Diffuse);
  glLightfv(GL_LIGHT1, GL_SPECULAR, light1Specular);
  glEnable(GL_LIGHT1);
  glEnable(GL_CULL_FACE);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DEPTH_TEST);
}

void CameraMode::orbit(Camera &camera, int32_t x, int32_t y, int32_t px, int32_t py) {
  if (camera.distance > 0) {
    camera.distance = -camera.distance;
    elevationCopy = -elevationCopy;
    azimuthCopy += 180;
  }
  azimuthCopy -= 0.5f * float(x - px);
  if (azimuthCopy > 360)
    azimuthCopy -= 360;
  else if (azimuthCopy < -360)
    azimuthCopy += 360;
  elevationCopy -= 0.5f * float(y - py);
  if (elevationCopy > 90)
    elevationCopy = 89.9f;
  else if (elevationCopy < -90)
    elevationCopy = -89.9f;
  camera.elevation = elevationCopy;
  camera.azimuth = azimuthCopy;
}

bool CameraMode::zoom(Camera &camera, int32_t y, int32_t py, int32_t ax, int32_t ay) {
  if (spinArmed && std::abs(ax) + 4 >= std::abs(4 * ay))
    return false;
  for (int32_t i = y; i < py; ++i)
    camera.distance *= 0.999f;
  for (int32_t i = py; i < y; ++i)
    camera.distance *= 1.001f;
  spinArmed = false;
  return true;
}

void CameraMode::trackSpin(int32_t h) {
  if (spinPeak == 0)
    spinPeak = h;
  else if (spinPeak < 0)
    spinPeak = h > 0 ? 0 : h < spinPeak ? h : spinPeak;
  else
    spinPeak = h < 0 ? 0 : h > spinPeak ? h : spinPeak;
}

bool CameraMode::releaseSpin(Camera &camera) {
  const int32_t peak = spinPeak;
  spinPeak = 0;
  if (peak == 0) {
    spinArmed = false;
    return false;
  }
  if (!spinArmed || (peak >> 2) == 0)
    return false;
  azimuthCopy -= float(peak >> 2);
  camera.azimuth = azimuthCopy;
  spinStep = peak >> 1;
  return true;
}

bool CameraMode::spinTick(Camera &camera) {
  if (!spinArmed || spinStep == 0)
    return false;
  azimuthCopy -= float(spinStep);
  camera.azimuth = azimuthCopy;
  return true;
}

void wheelZoom(Camera &camera, int32_t wheelDelta) {
  camera.distance *= std::pow(0.9f, float(wheelDelta) / 120.0f);
}
