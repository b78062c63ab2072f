#include "offscreen/offscreen_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

OffscreenContext::~OffscreenContext() {
  if (!display_)
    return;
  eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (context_)
    eglDestroyContext(display_, context_);
  if (surface_)
    eglDestroySurface(display_, surface_);
  eglTerminate(display_);
}

bool OffscreenContext::create(int32_t width, int32_t height, std::string &error) {
  const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
      eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (!getPlatformDisplay) {
    error = "EGL cannot choose a platform";
    return false;
  }
  display_ = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  EGLint major = 0, minor = 0;
  if (!display_ || !eglInitialize(display_, &major, &minor)) {
    error = "no surfaceless EGL display";
    return false;
  }
  const EGLint attributes[] = {EGL_SURFACE_TYPE,
                               EGL_PBUFFER_BIT,
                               EGL_RED_SIZE,
                               8,
                               EGL_GREEN_SIZE,
                               8,
                               EGL_BLUE_SIZE,
                               8,
                               EGL_ALPHA_SIZE,
                               8,
                               EGL_DEPTH_SIZE,
                               24,
                               EGL_STENCIL_SIZE,
                               8,
                               EGL_RENDERABLE_TYPE,
                               EGL_OPENGL_BIT,
                               EGL_NONE};
  EGLConfig config;
  EGLint configs = 0;
  if (!eglChooseConfig(display_, attributes, &config, 1, &configs) || configs < 1) {
    error = "no EGL configuration with depth and stencil";
    return false;
  }
  const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  surface_ = eglCreatePbufferSurface(display_, config, size);
  if (surface_ == EGL_NO_SURFACE || !eglBindAPI(EGL_OPENGL_API)) {
    error = "cannot create an offscreen surface";
    return false;
  }
  context_ = eglCreateContext(display_, config, EGL_NO_CONTEXT, nullptr);
  if (context_ == EGL_NO_CONTEXT || !eglMakeCurrent(display_, surface_, surface_, context_)) {
    error = "cannot create an OpenGL context";
    return false;
  }
  width_ = width;
  height_ = height;
  return true;
}
