// What the interoperability tests share: a scratch folder per test case (CTest runs the cases
// side by side) and the scene they exchange with other tools.
#pragma once

#include "scene/scene.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

// An empty folder below the temporary folder, named prefix and the running test case.
inline std::filesystem::path interopFolder(const std::string &prefix) {
  std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
  std::replace(name.begin(), name.end(), '/', '_'); // parameterised cases: "Name/0"
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / (prefix + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// Appends a cube, a torus and a slab, named "cube", "torus" and slabName.
inline void addInteropShapes(Scene &scene, const char *slabName = "slab") {
  const std::pair<const char *, PolygonMesh> shapes[] = {
      {"cube", cubeMesh()}, {"torus", torusMesh(6, 12, 3)}, {slabName, slabMesh(3, 2)}};
  for (const auto &[name, mesh] : shapes) {
    scene.objects.insert(std::make_shared<moObject>(makeObject(mesh)));
    scene.object(scene.objects.count() - 1)->name = name;
  }
}
