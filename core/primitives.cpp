#include "core/primitives.h"

#include <cmath>
#include <vector>

namespace {

constexpr float kPi = 3.14159265358979323846f;

void addVertex(moObject &obj, const moVec3 &p) { obj.addVertex(p.x, p.y, p.z); }

// cos and sin of an angle, exact at 0 where the first position of every ring lies.
void ringPosition(float angle, float &c, float &s) {
  if (angle == 0.0f) {
    c = 1.0f;
    s = 0.0f;
  } else {
    c = std::cos(angle);
    s = std::sin(angle);
  }
}

} // namespace

const char *primitiveName(PrimitiveType type) {
  static const char *const kNames[kPrimitiveTypeCount] = {
      "tetrahederon", "octahedron", "dodecahedron", "icosahedron", "cube",  "box",
      "cylinder",     "cone",       "sphere",       "ellipsoid",   "torus", "grid"};
  return kNames[static_cast<int32_t>(type)];
}

moObject makePrimitive(PrimitiveType type) {
  moObject obj(primitiveName(type));
  const moVec3 origin{0, 0, 0};
  switch (type) {
  case PrimitiveType::Tetrahedron:
    buildTetrahedron(obj, 20);
    break;
  case PrimitiveType::Octahedron:
    buildOctahedron(obj, 20, origin);
    break;
  case PrimitiveType::Dodecahedron:
    buildDodecahedron(obj, 10);
    break;
  case PrimitiveType::Icosahedron:
    buildIcosahedron(obj, 20);
    break;
  case PrimitiveType::Cube:
    buildBox(obj, 20, 20, 20, origin);
    break;
  case PrimitiveType::Box:
    buildBox(obj, 30, 10, 20, origin);
    break;
  case PrimitiveType::Cylinder:
    buildCylinder(obj, 20, 20, 40, 16, origin);
    break;
  case PrimitiveType::Cone:
    buildCone(obj, 20, 40, 16, origin);
    break;
  case PrimitiveType::Sphere:
    buildSphere(obj, 24, 12, 20);
    break;
  case PrimitiveType::Ellipsoid:
    buildEllipsoid(obj, 1, {10, 15, 20});
    break;
  case PrimitiveType::Torus:
    buildTorus(obj, 16, 8, 20, 5, origin);
    break;
  case PrimitiveType::Grid:
    buildGrid(obj, 10, 10, 4);
    break;
  }
  return obj;
}

void buildTetrahedron(moObject &obj, float s) {
  obj.reserve(6, 4, 4);
  const float d = s * std::sqrt(2.0f) * 0.6666667f;
  const float h = d * std::sin(60.0f * float(kDegreesToRadians));
  const float low = -0.33333334f * s;
  addVertex(obj, {0, s, 0});
  addVertex(obj, {0, low, d});
  addVertex(obj, {h, low, -0.5f * d});
  addVertex(obj, {-h, low, -0.5f * d});
  obj.makeFace(0, 2, 1);
  obj.makeFace(0, 1, 3);
  obj.makeFace(0, 3, 2);
  obj.makeFace(1, 2, 3);
}

void buildOctahedron(moObject &obj, float r, const moVec3 &c) {
  obj.reserve(12, 8, 6);
  for (const moVec3 &offset : {moVec3{0, 0, r}, moVec3{0, r, 0}, moVec3{r, 0, 0}, moVec3{0, 0, -r},
                               moVec3{0, -r, 0}, moVec3{-r, 0, 0}})
    addVertex(obj, add(c, offset));
  const int32_t faces[8][3] = {{0, 1, 2}, {0, 2, 4}, {0, 4, 5}, {0, 5, 1},
                               {3, 5, 4}, {3, 4, 2}, {3, 2, 1}, {3, 1, 5}};
  for (const auto &f : faces)
    obj.makeFace(f[0], f[1], f[2]);
}

void buildDodecahedron(moObject &obj, float s) {
  obj.reserve(30, 12, 20);
  const float a = 1.7265f * s, b = 0.618f * s;
  const moVec3 points[20] = {{a, 0, b},   {s, s, s},    {0, b, a},   {0, -b, a},  {s, -s, s},
                             {-s, -s, s}, {-b, -a, 0},  {b, -a, 0},  {s, -s, -s}, {a, 0, -b},
                             {s, s, -s},  {b, a, 0},    {-b, a, 0},  {-s, s, s},  {-a, 0, b},
                             {-a, 0, -b}, {-s, -s, -s}, {0, -b, -a}, {0, b, -a},  {-s, s, -s}};
  for (const moVec3 &p : points)
    addVertex(obj, p);
  const int32_t faces[12][5] = {{0, 4, 3, 2, 1},      {1, 11, 10, 9, 0},    {0, 9, 8, 7, 4},
                                {4, 7, 6, 5, 3},      {3, 5, 14, 13, 2},    {2, 13, 12, 11, 1},
                                {11, 12, 19, 18, 10}, {12, 13, 14, 15, 19}, {14, 5, 6, 16, 15},
                                {17, 16, 6, 7, 8},    {10, 18, 17, 8, 9},   {19, 15, 16, 17, 18}};
  for (const auto &f : faces)
    obj.makeFacePolygon(f, 5);
}

namespace {

constexpr int32_t kIcosahedronFaces[20][3] = {
    {0, 4, 1}, {0, 9, 4},  {9, 5, 4},  {4, 5, 8},  {4, 8, 1},  {8, 10, 1}, {8, 3, 10},
    {5, 3, 8}, {5, 2, 3},  {2, 7, 3},  {7, 10, 3}, {7, 6, 10}, {7, 11, 6}, {11, 0, 6},
    {0, 1, 6}, {6, 1, 10}, {9, 0, 11}, {9, 11, 2}, {9, 2, 5},  {7, 2, 11}};

// The twelve icosahedron corners for radius r.
void addIcosahedronVertices(moObject &obj, float r, const moVec3 &axisScale) {
  const float x = float(0.5257311121191336) * r, z = float(0.8506508083520399) * r;
  const moVec3 points[12] = {{-x, 0, z}, {x, 0, z},  {-x, 0, -z}, {x, 0, -z},
                             {0, z, x},  {0, z, -x}, {0, -z, x},  {0, -z, -x},
                             {z, x, 0},  {-z, x, 0}, {z, -x, 0},  {-z, -x, 0}};
  for (const moVec3 &p : points)
    addVertex(obj, multiply(p, axisScale));
}

} // namespace

void buildIcosahedron(moObject &obj, float r) {
  obj.reserve(30, 20, 12);
  addIcosahedronVertices(obj, r, {1, 1, 1});
  for (const auto &f : kIcosahedronFaces)
    obj.makeFace(f[0], f[1], f[2]);
}

void buildBox(moObject &obj, float wx, float wy, float wz, const moVec3 &c) {
  obj.reserve(12, 6, 8);
  const moVec3 half{wx / 2, wy / 2, wz / 2};
  const moVec3 lo = subtract(c, half), hi = add(c, half);
  for (const moVec3 &p :
       {moVec3{lo.x, lo.y, hi.z}, moVec3{lo.x, hi.y, hi.z}, moVec3{hi.x, hi.y, hi.z},
        moVec3{hi.x, lo.y, hi.z}, moVec3{hi.x, lo.y, lo.z}, moVec3{hi.x, hi.y, lo.z},
        moVec3{lo.x, hi.y, lo.z}, moVec3{lo.x, lo.y, lo.z}})
    addVertex(obj, p);
  const int32_t faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {1, 6, 5, 2},
                               {7, 0, 3, 4}, {3, 2, 5, 4}, {7, 6, 1, 0}};
  for (const auto &f : faces)
    obj.makeFace(f[0], f[1], f[2], f[3]);
}

void buildCylinder(moObject &obj, float rt, float rb, float h, int32_t n, const moVec3 &c) {
  if (rt == 0.0f) {
    buildCone(obj, rb, h, n, c);
    return;
  }
  if (rb == 0.0f) {
    buildCone(obj, rt, -h, n, c);
    return;
  }
  obj.reserve(3 * n, n + 2, 2 * n);
  const float step = 2 * kPi / float(n);
  float angle = 0;
  for (int32_t k = 0; k < n; ++k, angle += step) {
    float cs, sn;
    ringPosition(angle, cs, sn);
    addVertex(obj, {c.x + rt * cs, c.y + h / 2, c.z + rt * sn});
    addVertex(obj, {c.x + rb * cs, c.y - h / 2, c.z + rb * sn});
  }
  std::vector<int32_t> top(static_cast<size_t>(n)), bottom(static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k) {
    top[k] = 2 * k;
    bottom[k] = 2 * k + 1;
  }
  obj.makeFacePolygon(top.data(), n);
  obj.makeFacePolygon(bottom.data(), n, true);
  for (int32_t k = 1; k < n; ++k)
    obj.makeFace(2 * k, 2 * (k - 1), 2 * (k - 1) + 1, 2 * k + 1);
  obj.makeFace(0, 2 * (n - 1), 2 * (n - 1) + 1, 1);
}

void buildCone(moObject &obj, float r, float h, int32_t n, const moVec3 &c) {
  obj.reserve(2 * n, n + 1, n + 1);
  addVertex(obj, {c.x, c.y + h / 2, c.z});
  const float step = 2 * kPi / float(n);
  float angle = 0;
  for (int32_t k = 0; k < n; ++k, angle += step) {
    float cs, sn;
    ringPosition(angle, cs, sn);
    addVertex(obj, {c.x + r * cs, c.y - h / 2, c.z + r * sn});
  }
  std::vector<int32_t> base(static_cast<size_t>(n));
  for (int32_t k = 0; k < n; ++k)
    base[k] = k + 1;
  obj.makeFacePolygon(base.data(), n, true);
  for (int32_t k = 1; k < n; ++k)
    obj.makeFace(0, k, k + 1);
  obj.makeFace(0, n, 1);
  // With the apex below, the same face order describes the mirror image, which faces inward;
  // turning it the right way out keeps every index.
  if (h < 0)
    obj.flipOrientation();
}

void buildSphere(moObject &obj, int32_t m, int32_t n, float radius) {
  obj.reserve(m * (2 * n - 1), m * n, m * (n - 1) + 1);
  const float delta = kPi / float(n - 1);
  const float eps = 2 * kPi / float(m);
  const auto at = [m](int32_t ring, int32_t j) { return (ring - 1) * m + j; };
  std::vector<int32_t> ringList(static_cast<size_t>(m));
  for (int32_t i = 1; i < n; ++i) {
    const float phi = float(i) * delta - delta / 2;
    const float rho = radius * std::sin(phi), y = radius * std::cos(phi);
    for (int32_t j = 0; j < m; ++j) {
      float cs, sn;
      ringPosition(float(j) * eps, cs, sn);
      addVertex(obj, {rho * cs, y, rho * sn});
    }
    if (i == 1) {
      for (int32_t j = 0; j < m; ++j)
        ringList[j] = at(1, j);
      obj.makeFacePolygon(ringList.data(), m);
      continue;
    }
    for (int32_t j = 1; j < m; ++j)
      obj.makeFace(at(i - 1, j - 1), at(i, j - 1), at(i, j), at(i - 1, j));
    obj.makeFace(at(i - 1, m - 1), at(i, m - 1), at(i, 0), at(i - 1, 0));
  }
  for (int32_t j = 0; j < m; ++j)
    ringList[j] = at(n - 1, j);
  obj.makeFacePolygon(ringList.data(), m, true);
}

namespace {

// The vertex on the ellipsoid in the direction of the midpoint of edge a-b, shared with the
// neighbouring triangle when it already exists.
int32_t ellipsoidEdgePoint(moObject &obj, int32_t a, int32_t b, const moVec3 &r) {
  const moVec3 u = unit(add(obj.vertices[a].Coordinates, obj.vertices[b].Coordinates));
  const float xx = r.x * r.x, yy = r.y * r.y, zz = r.z * r.z;
  const float k =
      std::sqrt(xx * yy * zz / (yy * zz * u.x * u.x + xx * zz * u.y * u.y + xx * yy * u.z * u.z));
  const moVec3 p = scale(u, k);
  const int32_t existing = obj.findVertexAt(p);
  return existing != -1 ? existing : obj.addVertex(p.x, p.y, p.z);
}

void subdivide(moObject &obj, int32_t i0, int32_t i1, int32_t i2, int32_t level, const moVec3 &r) {
  if (level == 0) {
    obj.makeFace(i0, i1, i2);
    return;
  }
  const int32_t m01 = ellipsoidEdgePoint(obj, i0, i1, r);
  const int32_t m12 = ellipsoidEdgePoint(obj, i1, i2, r);
  const int32_t m20 = ellipsoidEdgePoint(obj, i2, i0, r);
  subdivide(obj, i0, m01, m20, level - 1, r);
  subdivide(obj, i1, m12, m01, level - 1, r);
  subdivide(obj, i2, m20, m12, level - 1, r);
  subdivide(obj, m01, m12, m20, level - 1, r);
}

} // namespace

void buildEllipsoid(moObject &obj, int32_t level, const moVec3 &radii) {
  int32_t grow = 1;
  for (int32_t l = 0; l < level; ++l)
    grow *= 4;
  obj.reserve(30 * grow, 20 * grow, 10 * grow + 2);
  addIcosahedronVertices(obj, 1, radii);
  for (const auto &f : kIcosahedronFaces)
    subdivide(obj, f[0], f[1], f[2], level, radii);
}

void buildTorus(moObject &obj, int32_t rings, int32_t m, float majorRadius, float minorRadius,
                const moVec3 &c) {
  obj.reserve(2 * rings * m, rings * m, rings * m);
  const auto at = [m](int32_t j, int32_t k) { return j * m + k; };
  const float ringStep = 2 * kPi / float(rings), positionStep = 2 * kPi / float(m);
  float alpha = 0;
  for (int32_t j = 0; j < rings; ++j, alpha += ringStep) {
    float ca, sa;
    ringPosition(alpha, ca, sa);
    float beta = 0;
    for (int32_t k = 0; k < m; ++k, beta += positionStep) {
      float cb, sb;
      ringPosition(beta, cb, sb);
      const float v = majorRadius + minorRadius * cb;
      addVertex(obj, {c.x + v * ca, c.y + v * sa, c.z + minorRadius * sb});
      if (j >= 1 && k >= 1)
        obj.makeFace(at(j - 1, k - 1), at(j - 1, k), at(j, k), at(j, k - 1));
    }
    if (j >= 1)
      obj.makeFace(at(j, 0), at(j, m - 1), at(j - 1, m - 1), at(j - 1, 0));
  }
  const int32_t last = rings - 1;
  for (int32_t k = 1; k < m; ++k)
    obj.makeFace(at(last, k), at(0, k), at(0, k - 1), at(last, k - 1));
  obj.makeFace(at(last, 0), at(0, 0), at(0, m - 1), at(last, m - 1));
}

void buildGrid(moObject &obj, int32_t rows, int32_t cols, float w) {
  obj.reserve(rows + 2 * rows * cols + cols + 8, rows * cols + 5, (rows + 1) * (cols + 1) + 4);
  const float ez = float(rows) * w, ex = float(cols) * w;
  float z = -ez / 2;
  for (int32_t i = 0; i <= rows; ++i, z += w) {
    float x = -ex / 2;
    for (int32_t j = 0; j <= cols; ++j, x += w)
      addVertex(obj, {x, 0, z});
  }
  const int32_t b = (rows + 1) * (cols + 1);
  addVertex(obj, {-ex / 2, -1, -ez / 2});
  addVertex(obj, {ex / 2, -1, -ez / 2});
  addVertex(obj, {ex / 2, -1, ez / 2});
  addVertex(obj, {-ex / 2, -1, ez / 2});
  const auto at = [cols](int32_t i, int32_t j) { return i * (cols + 1) + j; };
  for (int32_t i = 0; i < rows; ++i)
    for (int32_t j = 0; j < cols; ++j)
      obj.makeFace(at(i, j), at(i, j + 1), at(i + 1, j + 1), at(i + 1, j));
  std::vector<int32_t> side;
  const auto emit = [&](int32_t tail0, int32_t tail1) {
    side.push_back(tail0);
    side.push_back(tail1);
    obj.makeFacePolygon(side.data(), int32_t(side.size()));
    side.clear();
  };
  for (int32_t i = 0; i <= rows; ++i)
    side.push_back(at(i, 0));
  emit(b + 3, b);
  for (int32_t i = rows; i >= 0; --i)
    side.push_back(at(i, cols));
  emit(b + 1, b + 2);
  for (int32_t j = 0; j <= cols; ++j)
    side.push_back(at(rows, j));
  emit(b + 2, b + 3);
  for (int32_t j = cols; j >= 0; --j)
    side.push_back(at(0, j));
  emit(b, b + 1);
  obj.makeFace(b, b + 3, b + 2, b + 1);
}
