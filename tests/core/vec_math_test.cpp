#include "core/vec_math.h"

#include <gtest/gtest.h>

namespace {

void expectNear(const moVec3 &v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-6f);
  EXPECT_NEAR(v.y, y, 1e-6f);
  EXPECT_NEAR(v.z, z, 1e-6f);
}

moMatrix4 sample() {
  moMatrix4 a;
  for (int i = 0; i < 16; ++i)
    a.m[i] = float(i * 3 % 7) - 2.5f;
  return a;
}

TEST(VecMath, WithLengthOfZeroVectorStaysZero) {
  const moVec3 z = withLength({0, 0, 0}, 5.0f);
  EXPECT_TRUE(equals(z, {0, 0, 0}));
  moVec3 v{0, 0, 0};
  setLength(v, 1.0f);
  EXPECT_TRUE(equals(v, {0, 0, 0}));
  expectNear(withLength({0, 3, 4}, 10.0f), 0, 6, 8);
}

TEST(VecMath, CrossFollowsRightHandRule) {
  expectNear(cross({1, 0, 0}, {0, 1, 0}), 0, 0, 1);
  expectNear(cross({0, 1, 0}, {1, 0, 0}), 0, 0, -1);
  EXPECT_FLOAT_EQ(distance({1, 2, 3}, {4, 6, 3}), 5.0f);
}

TEST(VecMath, NewellTermsSumToTwiceTheAreaAlongTheNormal) {
  // Unit square traversed counter-clockwise about +z: the plain Newell sum points along +z.
  const moVec3 p[4] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  moVec3 n;
  for (int i = 0; i < 4; ++i)
    n = add(n, newellTerm(p[i], p[(i + 1) % 4]));
  expectNear(n, 0, 0, -2);
}

TEST(VecMath, RotationAboutZTurnsXIntoY) {
  expectNear(transformPoint(rotation({0, 0, 1}, 90), {1, 0, 0}), 0, 1, 0);
  expectNear(transformPoint(rotation({1, 0, 0}, 90), {0, 1, 0}), 0, 0, 1);
}

TEST(VecMath, TransformPointAddsTranslation) {
  moMatrix4 t = identity();
  t.m[12] = 1;
  t.m[13] = 2;
  t.m[14] = 3;
  expectNear(transformPoint(t, {1, 1, 1}), 2, 3, 4);
}

TEST(VecMath, MultiplyByIdentityKeepsMatrixAndMayAliasOperands) {
  const moMatrix4 a = sample();
  const moMatrix4 l = multiply(identity(), a);
  const moMatrix4 r = multiply(a, identity());
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(l.m[i], a.m[i]);
    EXPECT_EQ(r.m[i], a.m[i]);
  }
  moMatrix4 b = sample();
  const moMatrix4 expected = multiply(b, b);
  b = multiply(b, b);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(b.m[i], expected.m[i]);
}

TEST(VecMath, ProductAppliesFirstOperandFirst) {
  moMatrix4 move = identity();
  move.m[12] = 1; // translate +x
  const moMatrix4 turn = rotation({0, 0, 1}, 90);
  // Translate, then rotate: (0,0,0) -> (1,0,0) -> (0,1,0).
  expectNear(transformPoint(multiply(move, turn), {0, 0, 0}), 0, 1, 0);
}

} // namespace
