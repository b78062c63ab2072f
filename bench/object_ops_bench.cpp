// Object operations at the sizes users reach: Smooth of an 8192-face object (side by side with
// OpenSubdiv's uniform Catmull-Clark refinement of the same mesh when that library is present),
// Plane Cut of a sphere of about 32768 faces, and Combine and Separate of 12 objects of 2000
// faces. Each runs through the scene, undo copy included, as the commands do.
#include "core/primitives.h"
#include "ops/combine_separate.h"
#include "ops/plane_cut.h"
#include "ops/smooth.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#ifdef MORVO_HAVE_OPENSUBDIV
#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>
#endif

namespace {

// A scene whose selection in objects mode names the given objects.
struct BenchScene {
  RecordingUi ui;
  Scene scene{ui};
  explicit BenchScene(const std::vector<moObject> &objects) {
    scene.SetMode(moOBJECTS);
    for (const moObject &obj : objects) {
      const int32_t slot = scene.objects.insert(std::make_shared<moObject>(obj));
      scene.selection.Append({slot, slot});
    }
  }
};

moObject smoothSource() { return makeObject(torusMesh(64, 128)); } // 8192 quads

void BM_Smooth(benchmark::State &state) {
  const moObject source = smoothSource();
  for (auto _ : state) {
    state.PauseTiming();
    BenchScene s({source});
    state.ResumeTiming();
    if (!smooth(s.scene))
      state.SkipWithError("smooth refused");
    benchmark::DoNotOptimize(s.scene.object(0)->faces.count());
  }
  state.counters["outputFaces/s"] =
      benchmark::Counter(4.0 * source.faces.count(), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Smooth)->Unit(benchmark::kMillisecond);

#ifdef MORVO_HAVE_OPENSUBDIV
using namespace OpenSubdiv;

struct Point {
  float x = 0, y = 0, z = 0;
  void Clear(void * = nullptr) { x = y = z = 0; }
  void AddWithWeight(const Point &p, float w) {
    x += w * p.x;
    y += w * p.y;
    z += w * p.z;
  }
};

// The same mesh as OpenSubdiv takes it: positions and per-face vertex lists.
struct OsdMesh {
  std::vector<Point> points;
  std::vector<int> sizes, indices;
};
OsdMesh osdMesh(const moObject &obj) {
  OsdMesh m;
  for (const moVertex &v : obj.vertices)
    m.points.push_back({v.Coordinates.x, v.Coordinates.y, v.Coordinates.z});
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    m.sizes.push_back(obj.faceVertices(f, corners));
    m.indices.insert(m.indices.end(), corners.begin(), corners.end());
  }
  return m;
}

// Topology from scratch, one uniform level, positions interpolated: what Smooth does.
double osdRefine(const OsdMesh &m, std::vector<Point> &out) {
  const auto start = std::chrono::steady_clock::now();
  Far::TopologyDescriptor desc;
  desc.numVertices = int(m.points.size());
  desc.numFaces = int(m.sizes.size());
  desc.numVertsPerFace = m.sizes.data();
  desc.vertIndicesPerFace = m.indices.data();
  Sdc::Options options;
  options.SetVtxBoundaryInterpolation(Sdc::Options::VTX_BOUNDARY_EDGE_ONLY);
  using Factory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;
  std::unique_ptr<Far::TopologyRefiner> refiner(
      Factory::Create(desc, Factory::Options(Sdc::SCHEME_CATMARK, options)));
  refiner->RefineUniform(Far::TopologyRefiner::UniformOptions(1));
  out.resize(size_t(refiner->GetLevel(1).GetNumVertices()));
  const Point *source = m.points.data();
  Point *destination = out.data();
  Far::PrimvarRefiner(*refiner).Interpolate(1, source, destination);
  benchmark::DoNotOptimize(refiner->GetLevel(1).GetNumFaces());
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both in one loop, so the ratio compares runs under the same machine load.
void BM_SmoothBesideOpenSubdiv(benchmark::State &state) {
  const moObject source = smoothSource();
  const OsdMesh mesh = osdMesh(source);
  std::vector<Point> refined;
  double ours = 0, theirs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    const moObject result = subdivide(source);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    benchmark::DoNotOptimize(result.faces.count());
    ours += seconds;
    theirs += osdRefine(mesh, refined);
    state.SetIterationTime(seconds);
  }
  state.counters["morvo_ms"] = 1000 * ours / double(state.iterations());
  state.counters["opensubdiv_ms"] = 1000 * theirs / double(state.iterations());
  state.counters["speed_vs_osd"] = theirs / ours;
}
BENCHMARK(BM_SmoothBesideOpenSubdiv)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

// A sphere around y: with a multiple of four segments the x plane runs through two meridians
// of vertices; otherwise it crosses a face of every band.
void BM_PlaneCutSphere(benchmark::State &state) {
  moObject sphere;
  buildSphere(sphere, int32_t(state.range(0)), int32_t(state.range(1)), 20);
  for (auto _ : state) {
    state.PauseTiming();
    BenchScene s({sphere});
    state.ResumeTiming();
    if (!planeCut(s.scene, 0))
      state.SkipWithError("plane cut refused");
    benchmark::DoNotOptimize(s.scene.object(1));
  }
  state.counters["faces"] = sphere.faces.count();
}
BENCHMARK(BM_PlaneCutSphere)->Args({128, 257})->Args({126, 250})->Unit(benchmark::kMillisecond);

std::vector<moObject> twelveObjects() {
  std::vector<moObject> objects;
  for (int k = 0; k < 12; ++k) {
    moObject obj = makeObject(torusMesh(40, 50)); // 2000 quads
    for (moVertex &v : obj.vertices)
      v.Coordinates.z += float(10 * k);
    objects.push_back(obj);
  }
  return objects;
}

void BM_Combine12(benchmark::State &state) {
  const std::vector<moObject> objects = twelveObjects();
  for (auto _ : state) {
    state.PauseTiming();
    BenchScene s(objects);
    state.ResumeTiming();
    if (!combineObjects(s.scene))
      state.SkipWithError("combine refused");
  }
}
BENCHMARK(BM_Combine12)->Unit(benchmark::kMillisecond);

void BM_Separate12(benchmark::State &state) {
  const std::vector<moObject> objects = twelveObjects();
  moObject combined = objects[0];
  for (size_t k = 1; k < objects.size(); ++k)
    mergeInto(combined, objects[k]);
  for (auto _ : state) {
    state.PauseTiming();
    BenchScene s({combined});
    state.ResumeTiming();
    if (!separateObjects(s.scene))
      state.SkipWithError("separate refused");
    benchmark::DoNotOptimize(s.scene.objects.count());
  }
}
BENCHMARK(BM_Separate12)->Unit(benchmark::kMillisecond);

} // namespace
