// The interface every paint tool implements. Tools take window coordinates with y upward and
// change the paint canvas; the stroke commit then carries the changes into the textures. They
// never draw the scene themselves: on-screen feedback (rubber bands, the dab just painted) goes
// through ToolFeedback, which a window implements with OpenGL and headless callers leave empty.
#pragma once

#include "paint/canvas.h"

#include <cstdint>

class PaintToolbox;
class Scene;
class View;

// Drawing on the paint window's front buffer between repaints. Every figure is drawn with
// exclusive-or, so drawing it twice erases it. The defaults draw nothing.
class ToolFeedback {
public:
  virtual ~ToolFeedback() = default;
  virtual void xorRect(int32_t /*x0*/, int32_t /*y0*/, int32_t /*x1*/, int32_t /*y1*/) {}
  virtual void xorLine(int32_t /*x0*/, int32_t /*y0*/, int32_t /*x1*/, int32_t /*y1*/,
                       int32_t /*width*/) {}
  // A closed outline through n points (x, y pairs).
  virtual void xorOutline(const int32_t * /*xy*/, int32_t /*n*/) {}
  // Shows w x h pixels (row by row) with their lower-left corner at (x, y).
  virtual void showPixels(int32_t /*x*/, int32_t /*y*/, int32_t /*w*/, int32_t /*h*/,
                          const uint32_t * /*pixels*/) {}
  // Repaints the paint window from the scene.
  virtual void redraw() {}
};

// What a tool works on. Without a scene and view (canvas-only use) a commit just clears the
// canvas's dirty state, and tools that need the scene do nothing.
struct PaintContext {
  PaintCanvas &canvas;
  PaintToolbox &toolbox;
  ToolFeedback &feedback;
  Scene *scene = nullptr;
  View *view = nullptr;

  // Ends a stroke: CommitStroke and a redraw, or only the dirty state cleared without a scene.
  void commit();
  // Rebuilds the canvas from the scene (RefreshCanvas) and redraws; nothing without a scene.
  void refresh();
};

class PaintTool {
public:
  PaintTool(int32_t size, float hardness, int32_t opacity)
      : width_(size), height_(size), opacity_(opacity), hardness_(hardness) {}
  virtual ~PaintTool() = default;

  virtual void setColour(PaintContext &ctx, uint32_t rgba); // the paint colour by default
  virtual void setSize(PaintContext &ctx, int32_t width, int32_t height);
  virtual void setOpacity(PaintContext &ctx, int32_t opacity);
  void setHardness(PaintContext &ctx, float hardness);
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t opacity() const { return opacity_; }
  float hardness() const { return hardness_; }

  virtual void activate(PaintContext & /*ctx*/) {}
  virtual void deactivate(PaintContext & /*ctx*/) {}
  virtual void hover(PaintContext & /*ctx*/, int32_t /*x*/, int32_t /*y*/) {}
  virtual void press(PaintContext &ctx, int32_t x, int32_t y) = 0;
  virtual void drag(PaintContext &ctx, int32_t x, int32_t y) = 0;
  virtual void release(PaintContext &ctx, int32_t x, int32_t y) = 0;

protected:
  // Called after a colour, size, hardness or opacity change of the current tool.
  virtual void refill(PaintContext & /*ctx*/) {}
  virtual void rebuildMask(PaintContext & /*ctx*/) {}

  int32_t width_, height_, opacity_;
  float hardness_;
};
