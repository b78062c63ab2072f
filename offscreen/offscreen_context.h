// An OpenGL context without a window or X server (Mesa's surfaceless EGL platform with a pbuffer
// surface), for morvo-cli, the tests and the benchmarks. Compatibility profile with depth 24,
// stencil 8 and alpha 8, as the program's windows have.
#pragma once

#include <cstdint>
#include <string>

class OffscreenContext {
public:
  OffscreenContext() = default;
  OffscreenContext(const OffscreenContext &) = delete;
  OffscreenContext &operator=(const OffscreenContext &) = delete;
  ~OffscreenContext();

  // Creates the context with a width x height drawing surface and makes it current. Returns
  // false with a one-line reason in error when that is impossible.
  bool create(int32_t width, int32_t height, std::string &error);
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

private:
  void *display_ = nullptr;
  void *surface_ = nullptr;
  void *context_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
};
