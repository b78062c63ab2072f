// What Mesa's llvmpipe needs at least for the model window's frame of a 32 766-face object,
// whatever the program around it does: a slab of 127 x 127 quads a side (the same 65 532
// triangles, half of them turned away), lit, smooth-shaded, depth-tested and back-face culled at
// 720 x 486, drawn with one glDrawElements from one interleaved array of one vertex per face
// corner (position, normal, colour), finished with glFinish. Beside it: the clear alone, the
// front triangles alone, and the front grid's edges as lines, which the outlines add.
#include "offscreen/offscreen_context.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int32_t kCells = 127, kWidth = 720, kHeight = 486;

struct Corner {
  float position[3], normal[3];
  uint8_t rgb[4];
};

// The two faces of the slab, z = +1 toward the eye and z = -1 away from it, in a view where the
// slab fills the window; the indices of the front faces come first.
struct Slab {
  std::vector<Corner> corners;
  std::vector<GLuint> triangles, frontEdges;
  size_t frontTriangleIndices = 0;

  Slab() {
    for (const float z : {1.0f, -1.0f}) {
      for (int32_t i = 0; i < kCells; ++i)
        for (int32_t j = 0; j < kCells; ++j)
          addQuad(i, j, z);
      if (z > 0)
        frontTriangleIndices = triangles.size();
    }
  }

  void addQuad(int32_t i, int32_t j, float z) {
    const GLuint base = GLuint(corners.size());
    const float step = 2.0f / kCells;
    const float x0 = -1 + step * float(i), y0 = -1 + step * float(j);
    const float xs[4] = {x0, x0 + step, x0 + step, x0}, ys[4] = {y0, y0, y0 + step, y0 + step};
    for (int32_t k = 0; k < 4; ++k)
      corners.push_back({{xs[k], ys[k], z}, {0, 0, z}, {255, 255, 255, 255}});
    // Counter-clockwise seen from the side the face looks to.
    const GLuint front[6] = {0, 1, 2, 0, 2, 3}, back[6] = {0, 2, 1, 0, 3, 2};
    for (const GLuint k : z > 0 ? front : back)
      triangles.push_back(base + k);
    if (z <= 0)
      return;
    // Each edge once: the bottom and left of every quad, the top and right of the last ones.
    for (GLuint k = 0; k < 4; ++k)
      if (k == 0 || k == 3 || (k == 1 && i == kCells - 1) || (k == 2 && j == kCells - 1)) {
        frontEdges.push_back(base + k);
        frontEdges.push_back(base + (k + 1) % 4);
      }
  }
};

struct Floor {
  OffscreenContext context;
  Slab slab;
  bool ok = false;

  Floor() {
    std::string error;
    ok = context.create(kWidth, kHeight, error);
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-0.45, 0.45, -0.3, 0.3, 1, 2000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -4);
    glScalef(1.5f, 1.0f, 1.0f);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.6f, 0.6f, 0.6f, 1);
  }

  void draw(GLenum mode, const GLuint *indices, size_t count) const {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Corner), slab.corners.data()->position);
    glNormalPointer(GL_FLOAT, sizeof(Corner), slab.corners.data()->normal);
    glColorPointer(3, GL_UNSIGNED_BYTE, sizeof(Corner), slab.corners.data()->rgb);
    glDrawElements(mode, GLsizei(count), GL_UNSIGNED_INT, indices);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
  }
};

enum Drawn { kClear, kFront, kBoth, kBothAndLines };

void floorFrames(benchmark::State &state, Drawn drawn) {
  Floor f;
  if (!f.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  const std::vector<GLuint> &t = f.slab.triangles;
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (drawn != kClear)
      f.draw(GL_TRIANGLES, t.data(), drawn == kFront ? f.slab.frontTriangleIndices : t.size());
    if (drawn == kBothAndLines) {
      glDisable(GL_LIGHTING);
      f.draw(GL_LINES, f.slab.frontEdges.data(), f.slab.frontEdges.size());
      glEnable(GL_LIGHTING);
    }
    glFinish();
  }
  state.counters["triangles"] = double(drawn == kClear   ? 0
                                       : drawn == kFront ? f.slab.frontTriangleIndices / 3
                                                         : t.size() / 3);
}

void BM_FloorClear(benchmark::State &state) { floorFrames(state, kClear); }
void BM_FloorFrontTriangles(benchmark::State &state) { floorFrames(state, kFront); }
void BM_FloorAllTriangles(benchmark::State &state) { floorFrames(state, kBoth); }
void BM_FloorAllTrianglesAndFrontEdges(benchmark::State &state) {
  floorFrames(state, kBothAndLines);
}
BENCHMARK(BM_FloorClear)->Unit(benchmark::kMillisecond)->MinTime(2)->MeasureProcessCPUTime();
BENCHMARK(BM_FloorFrontTriangles)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_FloorAllTriangles)->Unit(benchmark::kMillisecond)->MinTime(2)->MeasureProcessCPUTime();
BENCHMARK(BM_FloorAllTrianglesAndFrontEdges)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

} // namespace
