// libmotr against CGAL's constrained Delaunay triangulation, side by side on the same inputs in
// one run. For each input class it prints the time per face of both and the ratio
// CGAL time / libmotr time (above 1: libmotr is faster).
//
// CGAL gets the fairest setting we know: 2D points (libmotr gets the same points with z = 0
// and still finds the normal itself), a constraint for every loop edge, the inside faces
// marked by nesting level, triangles written out as index triples like libmotr's, and the best
// of three insertion orders (spatially sorted, loop order with the previous vertex as hint,
// no hint). Each side's time is the best of several passes over all faces of the class.
//
// An argument that does not start with "--" runs only the input classes whose name contains
// it; others (those scripts/bench.sh hands every benchmark program) are ignored.
#include "triangulate/motr.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

// ---- Inputs ---------------------------------------------------------------------------------

struct Face {
  std::vector<int> loopSizes;
  std::vector<float> points; // x, y, z, loop after loop: libmotr's input
  std::vector<float> plane;  // x, y in the face's plane: CGAL's input
  int pointCount() const { return static_cast<int>(points.size() / 3); }
  int room() const { return pointCount() + 2 * (static_cast<int>(loopSizes.size()) - 1) - 2; }
};

struct InputClass {
  std::string name;
  std::vector<Face> faces;
};

// Appends a loop of `count` points around (cx, cy): at angle 2 pi (k + phase) / count and
// radius r * radiusAt(k), counter-clockwise unless `clockwise`.
void addLoop(Face &face, int count, double cx, double cy, double r, double phase, bool clockwise,
             const std::function<double(int)> &radiusAt) {
  face.loopSizes.push_back(count);
  for (int i = 0; i < count; ++i) {
    const int k = clockwise ? count - 1 - i : i;
    const double angle = 2.0 * M_PI * (k + phase) / count;
    const double radius = r * radiusAt(k);
    const float x = static_cast<float>(cx + radius * std::cos(angle));
    const float y = static_cast<float>(cy + radius * std::sin(angle));
    face.points.insert(face.points.end(), {x, y, 0.0f});
    face.plane.insert(face.plane.end(), {x, y});
  }
}

double one(int) { return 1.0; }

InputClass star1000() {
  Face face;
  addLoop(face, 1000, 0.0, 0.0, 1.0, 0.0, false, [](int k) { return k % 2 ? 0.45 : 1.0; });
  return {"star, 1 000 points", {face}};
}

InputClass wavyWithHoles(int outer, int holes, int holeSize, const std::string &name) {
  Face face;
  addLoop(face, outer, 0.0, 0.0, 1.0, 0.0, false,
          [](int k) { return 1.0 + 0.05 * std::sin(0.37 * k); });
  for (int h = 0; h < holes; ++h) {
    const double x = -0.72 + 1.44 * h / (holes > 1 ? holes - 1 : 1);
    addLoop(face, holeSize, x, 0.0, 0.06, 0.0, true, one);
  }
  return {name, {face}};
}

// `count` separate faces made by `make`, each somewhere else in the plane and of another size.
InputClass
manyFaces(const std::string &name, int count,
          const std::function<void(Face &, std::mt19937 &, double, double, double)> &make) {
  std::mt19937 random(17);
  std::uniform_real_distribution<double> centre(-100.0, 100.0), size(0.5, 5.0);
  InputClass input{name, {}};
  for (int i = 0; i < count; ++i) {
    Face face;
    const double cx = centre(random), cy = centre(random), r = size(random);
    make(face, random, cx, cy, r);
    input.faces.push_back(std::move(face));
  }
  return input;
}

// Regular polygons (cylinder caps, rounded faces) are co-circular: the hard case for both.
void regularFace(Face &face, std::mt19937 &random, double cx, double cy, double r, int sides) {
  addLoop(face, sides, cx, cy, r, std::uniform_real_distribution<double>(0.0, 1.0)(random), false,
          one);
}

// A star-shaped face with jittered angles and radii: concave, in general position.
void jaggedFace(Face &face, std::mt19937 &random, double cx, double cy, double r, int sides) {
  std::vector<double> radii(static_cast<size_t>(sides));
  std::uniform_real_distribution<double> radius(0.5, 1.0);
  for (double &v : radii)
    v = radius(random);
  addLoop(face, sides, cx, cy, r, std::uniform_real_distribution<double>(-0.3, 0.3)(random), false,
          [&](int k) { return radii[static_cast<size_t>(k)]; });
}

// The same faces turned into planes of every direction, as most faces of a model lie: libmotr
// gets them in 3D (where rounding leaves them not quite flat), CGAL still in their plane.
InputClass tilted(InputClass input) {
  std::mt19937 random(23);
  std::uniform_real_distribution<double> angle(0.0, 2.0 * M_PI);
  for (Face &face : input.faces) {
    const double a = angle(random), b = angle(random);
    for (size_t i = 0; i < face.points.size(); i += 3) {
      const double x = face.points[i], y = face.points[i + 1];
      const double y1 = std::cos(a) * y, z1 = std::sin(a) * y;
      face.points[i] = static_cast<float>(std::cos(b) * x - std::sin(b) * z1);
      face.points[i + 1] = static_cast<float>(y1);
      face.points[i + 2] = static_cast<float>(std::sin(b) * x + std::cos(b) * z1);
    }
  }
  input.name.insert(input.name.find(' ', 3) + 1, "tilted ");
  return input;
}

std::vector<InputClass> inputClasses() {
  std::vector<InputClass> classes;
  classes.push_back(star1000());
  classes.push_back(wavyWithHoles(10000, 10, 100, "10 000 points, 10 holes of 100"));
  classes.push_back(wavyWithHoles(100000, 0, 0, "loop, 100 000 points"));
  classes.push_back(manyFaces("10 000 regular 64-gons", 10000,
                              [](Face &f, std::mt19937 &g, double x, double y, double r) {
                                regularFace(f, g, x, y, r, 64);
                              }));
  classes.push_back(manyFaces("10 000 jagged 64-gons", 10000,
                              [](Face &f, std::mt19937 &g, double x, double y, double r) {
                                jaggedFace(f, g, x, y, r, 64);
                              }));
  classes.push_back(manyFaces("10 000 triangles", 10000,
                              [](Face &f, std::mt19937 &g, double x, double y, double r) {
                                jaggedFace(f, g, x, y, r, 3);
                              }));
  classes.push_back(manyFaces("10 000 quads (half regular)", 10000,
                              [](Face &f, std::mt19937 &g, double x, double y, double r) {
                                (g() & 1 ? regularFace : jaggedFace)(f, g, x, y, r, 4);
                              }));
  classes.push_back(manyFaces("10 000 5- to 16-gons (half regular)", 10000,
                              [](Face &f, std::mt19937 &g, double x, double y, double r) {
                                const int sides = 5 + static_cast<int>(g() % 12);
                                (g() & 1 ? regularFace : jaggedFace)(f, g, x, y, r, sides);
                              }));
  for (size_t i : {3, 4, 6, 7})
    classes.push_back(tilted(classes[i]));
  return classes;
}

// ---- The two triangulators ------------------------------------------------------------------

// Every face's triangles go into one array, as a mesh would collect them.
struct Output {
  std::vector<int> triangles;
  std::vector<int> counts; // per face
};

void reserveOutput(const InputClass &input, Output &out) {
  std::size_t room = 0;
  for (const Face &face : input.faces)
    room += 3 * static_cast<std::size_t>(face.room());
  out.triangles.resize(room);
  out.counts.resize(input.faces.size());
}

void runMotr(const InputClass &input, Output &out) {
  int *next = out.triangles.data();
  for (std::size_t i = 0; i < input.faces.size(); ++i) {
    const Face &face = input.faces[i];
    const int count =
        motrDelaunayNPf(static_cast<int>(face.loopSizes.size()), face.loopSizes.data(),
                        face.pointCount(), face.points.data(), next, nullptr);
    out.counts[i] = count;
    next += 3 * std::max(count, 0);
  }
}

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
struct FaceInfo {
  int nesting = -1;
};
using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<int, Kernel>;
using FaceBase = CGAL::Constrained_triangulation_face_base_2<
    Kernel, CGAL::Triangulation_face_base_with_info_2<FaceInfo, Kernel>>;
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<
    Kernel, CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>>;
using CgalPoint = Kernel::Point_2;

enum class Order { Sorted, Loop, Unhinted };
const char *orderName(Order order) {
  return order == Order::Sorted ? "sorted" : order == Order::Loop ? "loop order" : "no hint";
}

void insertPoints(Cdt &cdt, const std::vector<CgalPoint> &points, Order order,
                  std::vector<Cdt::Vertex_handle> &handles) {
  std::vector<std::size_t> sequence(points.size());
  std::iota(sequence.begin(), sequence.end(), 0);
  if (order == Order::Sorted) {
    using Traits =
        CGAL::Spatial_sort_traits_adapter_2<Kernel,
                                            CGAL::Pointer_property_map<CgalPoint>::const_type>;
    CGAL::spatial_sort(sequence.begin(), sequence.end(), Traits(CGAL::make_property_map(points)));
  }
  handles.resize(points.size());
  Cdt::Face_handle hint;
  for (std::size_t i : sequence) {
    const std::size_t before = cdt.number_of_vertices();
    const Cdt::Vertex_handle v =
        order == Order::Unhinted ? cdt.insert(points[i]) : cdt.insert(points[i], hint);
    if (cdt.number_of_vertices() > before) // a duplicate keeps the first point's index
      v->info() = static_cast<int>(i);
    handles[i] = v;
    hint = v->face();
  }
}

// Nesting level by flood fill from the infinite face across constraints: odd levels are inside.
void markNesting(Cdt &cdt) {
  for (Cdt::Face_handle f : cdt.all_face_handles())
    f->info().nesting = -1;
  std::vector<Cdt::Face_handle> stack, border{cdt.infinite_face()};
  cdt.infinite_face()->info().nesting = 0;
  for (std::size_t b = 0; b < border.size(); ++b) {
    stack.push_back(border[b]);
    const int level = border[b]->info().nesting;
    while (!stack.empty()) {
      const Cdt::Face_handle f = stack.back();
      stack.pop_back();
      for (int i = 0; i < 3; ++i) {
        const Cdt::Face_handle n = f->neighbor(i);
        if (n->info().nesting != -1)
          continue;
        n->info().nesting = cdt.is_constrained({f, i}) ? level + 1 : level;
        (cdt.is_constrained({f, i}) ? border : stack).push_back(n);
      }
    }
  }
}

int triangulateCgal(const Face &face, Order order, int *out) {
  std::vector<CgalPoint> points;
  points.reserve(static_cast<std::size_t>(face.pointCount()));
  for (int i = 0; i < face.pointCount(); ++i)
    points.emplace_back(face.plane[2 * i], face.plane[2 * i + 1]);
  Cdt cdt;
  std::vector<Cdt::Vertex_handle> handles;
  insertPoints(cdt, points, order, handles);
  int first = 0;
  for (int size : face.loopSizes) {
    for (int k = 0; k < size; ++k)
      cdt.insert_constraint(handles[first + k], handles[first + (k + 1) % size]);
    first += size;
  }
  markNesting(cdt);
  int count = 0;
  for (Cdt::Face_handle f : cdt.finite_face_handles()) {
    if (f->info().nesting % 2 != 1)
      continue;
    for (int k = 0; k < 3; ++k)
      out[3 * count + k] = f->vertex(k)->info();
    ++count;
  }
  return count;
}

void runCgal(const InputClass &input, Order order, Output &out) {
  int *next = out.triangles.data();
  for (std::size_t i = 0; i < input.faces.size(); ++i) {
    const int count = triangulateCgal(input.faces[i], order, next);
    out.counts[i] = count;
    next += 3 * count;
  }
}

// ---- Timing and report ----------------------------------------------------------------------

// Seconds of one pass.
double timePass(const std::function<void()> &pass) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  pass();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

int mismatches(const Output &a, const Output &b) {
  int different = 0;
  for (std::size_t i = 0; i < a.counts.size(); ++i)
    different += a.counts[i] != b.counts[i];
  return different;
}

void compare(const InputClass &input) {
  Output motr, cgal;
  reserveOutput(input, motr);
  reserveOutput(input, cgal);
  // Passes of both sides take turns, so that both meet the same load on a shared machine;
  // each keeps its best pass.
  const Order orders[] = {Order::Sorted, Order::Loop, Order::Unhinted};
  double motrTime = 1e300, cgalTime = 1e300, spent = 0.0;
  Order bestOrder = Order::Sorted;
  for (int round = 0; round < 5 || (spent < 2.0 && round < 1000); ++round) {
    const double t = timePass([&] { runMotr(input, motr); });
    motrTime = std::min(motrTime, t);
    spent += t;
    for (Order order : orders) {
      const double u = timePass([&] { runCgal(input, order, cgal); });
      spent += u;
      if (u < cgalTime) {
        cgalTime = u;
        bestOrder = order;
      }
    }
  }
  const double faces = static_cast<double>(input.faces.size());
  std::printf("%-38s %12.3f %12.3f  %-10s %7.2fx", input.name.c_str(), 1e6 * motrTime / faces,
              1e6 * cgalTime / faces, orderName(bestOrder), cgalTime / motrTime);
  const int different = mismatches(motr, cgal);
  if (different > 0)
    std::printf("  (%d faces with other triangle counts)", different);
  std::printf("\n");
}

} // namespace

int main(int argc, char **argv) {
  std::string only;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]).rfind("--", 0) != 0)
      only = argv[i];
  }
  std::printf("%-38s %12s %12s  %-10s %8s\n", "input class", "motr us/face", "CGAL us/face",
              "CGAL order", "ratio");
  for (const InputClass &input : inputClasses()) {
    if (input.name.find(only) != std::string::npos)
      compare(input);
  }
  return 0;
}
