#include "core/primitives.h"
#include "ops/bridge.h"
#include "ops/combine_separate.h"
#include "ops/copy_objects.h"
#include "ops/flip_evert.h"
#include "ops/mirror.h"
#include "ops/plane_cut.h"
#include "ops/puff.h"
#include "ops/smooth.h"
#include "tests/ops/ops_fixture.h"

#include <functional>
#include <random>

namespace {

// Random selections and operations on a scene of primitives: after every step each object must
// still be compact and valid, whether the operation ran, refused or failed.
class RandomSequence {
public:
  RandomSequence(Scene &scene, uint32_t seed) : scene_(scene), rng_(seed) {}

  void step() {
    if (totalFaces() > 12000 || scene_.objects.objectCount() == 0)
      restart();
    select(pick(4) == 0 ? moFACES : moOBJECTS);
    static const std::vector<std::function<bool(RandomSequence &)>> kOperations = {
        [](RandomSequence &r) { return bridge(r.scene_); },
        [](RandomSequence &r) { return mirrorFaces(r.scene_); },
        [](RandomSequence &r) { return copyObjects(r.scene_); },
        [](RandomSequence &r) { return combineObjects(r.scene_); },
        [](RandomSequence &r) { return separateObjects(r.scene_); },
        [](RandomSequence &r) { return planeCut(r.scene_, r.pick(3)); },
        [](RandomSequence &r) { return axisMultiCut(r.scene_, r.pick(3), 1 + r.pick(2)); },
        [](RandomSequence &r) { return flipObjects(r.scene_, r.pick(3)); },
        [](RandomSequence &r) { return evertObjects(r.scene_); },
        [](RandomSequence &r) { return smooth(r.scene_); },
        [](RandomSequence &r) {
          if (!puffObjects(r.scene_))
            return false;
          puffStep(r.scene_, float(r.pick(21)) - 10);
          return true;
        },
        [](RandomSequence &r) {
          r.scene_.UndoCommand();
          return true;
        },
        [](RandomSequence &r) {
          r.scene_.SetObjectVisible(r.anySlot(), r.pick(4) != 0);
          return true;
        },
    };
    done.resize(kOperations.size());
    const size_t op = size_t(pick(int32_t(kOperations.size())));
    done[op] += kOperations[op](*this);
  }

  std::vector<int32_t> done; // per operation: how often it ran

  std::string problem() const {
    for (int32_t i = 0; i < scene_.objects.count(); ++i)
      if (const moObject *obj = scene_.object(i)) {
        const std::string p = validity(*obj);
        if (!p.empty())
          return "object " + std::to_string(i) + ": " + p;
      }
    return "";
  }

private:
  int32_t pick(int32_t n) { return std::uniform_int_distribution<int32_t>(0, n - 1)(rng_); }
  int32_t anySlot() { return pick(std::max(1, scene_.objects.count())); }
  int32_t totalFaces() const {
    int32_t sum = 0;
    for (int32_t i = 0; i < scene_.objects.count(); ++i)
      sum += scene_.object(i) ? scene_.object(i)->faces.count() : 0;
    return sum;
  }
  void restart() {
    scene_.DeleteAll();
    for (int k = 0; k < 3; ++k) {
      const int32_t slot = scene_.createPrimitive(PrimitiveType(pick(kPrimitiveTypeCount)));
      moObject &obj = *scene_.object(slot);
      for (moVertex &v : obj.vertices)
        v.Coordinates.x += float(40 * k);
    }
  }
  void select(SelectionMode mode) {
    scene_.SetMode(mode);
    scene_.clearSelection();
    const int32_t entries = 1 + pick(3);
    for (int32_t k = 0; k < entries; ++k) {
      const int32_t slot = anySlot();
      const moObject *obj = scene_.object(slot);
      if (!obj || obj->faces.count() == 0)
        continue;
      scene_.selection.Set({mode == moFACES ? pick(obj->faces.count()) : slot, slot}, true);
    }
  }

  Scene &scene_;
  std::mt19937 rng_;
};

TEST_F(OpsTest, RandomOperationSequencesKeepEveryObjectValid) {
  std::vector<int32_t> done;
  for (uint32_t seed = 1; seed <= 8; ++seed) {
    RandomSequence sequence(scene, seed);
    for (int step = 0; step < 80; ++step) {
      sequence.step();
      ASSERT_EQ(sequence.problem(), "") << "seed " << seed << " step " << step;
    }
    done.resize(sequence.done.size());
    for (size_t op = 0; op < done.size(); ++op)
      done[op] += sequence.done[op];
  }
  // Refusals alone would prove little: every operation must also have run.
  for (size_t op = 0; op < done.size(); ++op)
    EXPECT_GT(done[op], 0) << "operation " << op;
}

} // namespace
