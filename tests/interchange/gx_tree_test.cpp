#include "interchange/gx_element.h"
#include "interchange/gx_properties.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// An integer leaf that counts its releases.
class CountedLeaf : public GxIntProperty {
public:
  explicit CountedLeaf(int *releases) : releases_(releases) { setTypeName("integer"); }
  ~CountedLeaf() override { ++*releases_; }

private:
  int *releases_;
};

TEST(GxString, NumberForms) {
  EXPECT_EQ(GxString(1.0f), "1.0");
  EXPECT_EQ(GxString(0.5f), "0.5");
  EXPECT_EQ(GxString(0.1f), "0.100000001");
  EXPECT_EQ(GxString(1e8f), "100000000.0");
  EXPECT_EQ(GxString(1e10f), "1e+10.0");
  EXPECT_EQ(GxString(-2.25f), "-2.25");
  EXPECT_EQ(GxString(int32_t(-42)), "-42");
  const float values[3] = {1.0f, 0.5f, -3.0f};
  EXPECT_EQ(GxString::fromFloats(values, 3), "1.0 0.5 -3.0 ");
  EXPECT_EQ(GxString::fromFloats(values, 0), "");
}

TEST(GxString, TextOperations) {
  const char *none = nullptr;
  EXPECT_EQ(GxString(none), "");
  GxString s("ab");
  s.append(GxString("c"));
  EXPECT_EQ(s.length(), 3);
  EXPECT_EQ(s.at(2), 'c');
  EXPECT_EQ(s.at(3), '\0');
  EXPECT_EQ(s.at(-1), '\0');
  EXPECT_TRUE(s == GxString("abc"));
  EXPECT_TRUE(s != "ABC"); // case-sensitive
  s.assign(GxString("x"));
  EXPECT_EQ(s, "x");
}

TEST(GxNode, FlagsFromConstruction) {
  GxPtr both(new GxNode("t", "n", true, true));
  EXPECT_EQ(both->flags(), kGxArray);
  GxPtr neither(new GxNode("t", "n", false, false));
  EXPECT_EQ(neither->flags(), 0);
  GxPtr typed(new GxNode("body"));
  EXPECT_TRUE(typed->isStruct());
  EXPECT_EQ(typed->typeName(), "body");
  EXPECT_EQ(typed->name(), "");
  GxPtr plain(new GxNode());
  EXPECT_TRUE(plain->isStruct());
  GxPtr leaf(new GxFloatProperty());
  EXPECT_EQ(leaf->flags(), 0);
}

TEST(GxNode, SameChildTwiceIsRecordedAsParentOnce) {
  GxPtr list(new GxNode("vertex", "vertices", false, true));
  GxElement *item = new GxNode("vertex");
  EXPECT_TRUE(list->addChild(item));
  EXPECT_FALSE(list->addChild(item));
  EXPECT_EQ(list->childCount(), 2);
  ASSERT_EQ(item->parents().size(), 1u);
  EXPECT_EQ(item->parents()[0], list.get());
  // One removal drops the first occurrence and the parent record.
  EXPECT_TRUE(list->removeChild(item));
  EXPECT_EQ(list->childCount(), 1);
  EXPECT_TRUE(item->parents().empty());
  GxElement *stranger = new GxNode();
  EXPECT_FALSE(list->removeChild(stranger));
  stranger->destroy();
  // Leaves take no children.
  GxPtr leaf(new GxIntProperty());
  EXPECT_FALSE(leaf->addChild(stranger = new GxNode()));
  EXPECT_EQ(leaf->childCount(), 0);
  stranger->destroy();
}

TEST(GxNode, ChildAtFromEitherEnd) {
  for (int count : {3, 40, 41, 100}) {
    GxPtr list(new GxNode("integer", "vertex-indices", false, true));
    std::vector<GxElement *> items;
    for (int i = 0; i < count; ++i) {
      items.push_back(new GxIntProperty("integer", "", i));
      list->addChild(items.back());
    }
    EXPECT_EQ(list->childAt(-1), nullptr);
    EXPECT_EQ(list->childAt(count), nullptr);
    for (int i = 0; i < count; ++i)
      ASSERT_EQ(list->childAt(i), items[size_t(i)]) << count << " children, index " << i;
    EXPECT_EQ(*list->children().rbegin(), items.back());
  }
}

TEST(GxNode, FindsChildrenByNameAndTypeName) {
  GxPtr shade(new GxNode("GL_Shade-domain", "GL_Shade", true, false));
  auto *opacity = new GxFloatProperty("float", "OPACITY", 0.5f);
  auto *diffuse = new GxFloatArrayProperty("vec3f", "DIFFUSE-COLOR", {1, 0, 0});
  auto *map = new GxNode("map", "TEXTURE-MAP", true, false);
  shade->addChild(opacity);
  shade->addChild(diffuse);
  shade->addChild(map);
  EXPECT_EQ(shade->findChild("DIFFUSE-COLOR"), diffuse);
  EXPECT_EQ(shade->findChild("EMISSIVE-COLOR"), nullptr);
  EXPECT_EQ(shade->findChildOfType("map"), map);
  EXPECT_EQ(shade->findChildOfType("float"), opacity);
  EXPECT_EQ(shade->findChildOfType("integer"), nullptr);
}

TEST(GxNode, SharedElementsAreReleasedOnce) {
  int releases = 0;
  GxNode *root = makeGxRoot();
  auto *vertices = new GxNode("vertex", "vertices", false, true);
  root->addChild(vertices);
  auto *item = new GxNode("vertex");
  auto *coord = new CountedLeaf(&releases);
  item->addChild(coord);
  for (int i = 0; i < 3; ++i)
    vertices->addChild(item);
  // The same leaf also under a second container of the same tree.
  auto *other = new GxNode("vertex");
  other->addChild(coord);
  vertices->addChild(other);
  root->destroy(); // ASan builds catch a second release
  EXPECT_EQ(releases, 1);
}

TEST(GxNode, ReleaseKeepsWhatAnotherTreeStillHolds) {
  int releases = 0;
  GxPtr first(new GxNode("a"));
  GxPtr second(new GxNode("b"));
  auto *sharedItem = new GxNode("item");
  auto *leaf = new CountedLeaf(&releases);
  sharedItem->addChild(leaf);
  first->addChild(sharedItem);
  second->addChild(sharedItem);
  first.reset();
  EXPECT_EQ(releases, 0);
  ASSERT_EQ(sharedItem->parents().size(), 1u);
  EXPECT_EQ(sharedItem->parents()[0], second.get());
  // Destroying a member still held by its container unlinks it first.
  sharedItem->destroy();
  EXPECT_EQ(releases, 1);
  EXPECT_EQ(second->childCount(), 0);
}

TEST(GxNode, CloneIsDeepAndCopiesEveryOccurrence) {
  GxPtr list(new GxNode("vertex", "vertices", false, true));
  auto *item = new GxNode("vertex");
  item->addChild(new GxFloatArrayProperty("vec3f", "coord", {1, 2, 3}));
  list->addChild(item);
  list->addChild(item);
  GxPtr copy(list->clone());
  EXPECT_EQ(copy->typeName(), "vertex");
  EXPECT_EQ(copy->name(), "vertices");
  EXPECT_EQ(copy->flags(), kGxArray);
  ASSERT_EQ(copy->childCount(), 2);
  EXPECT_NE(copy->childAt(0), item);
  EXPECT_NE(copy->childAt(0), copy->childAt(1));
  auto *coord = dynamic_cast<GxFloatArrayProperty *>(copy->childAt(1)->findChild("coord"));
  ASSERT_NE(coord, nullptr);
  EXPECT_EQ(coord->values(), (std::vector<float>{1, 2, 3}));
  coord->setValues({9});
  EXPECT_EQ(dynamic_cast<GxFloatArrayProperty *>(item->childAt(0))->count(), 3);
  GxPtr leafCopy(GxPtr(new GxStringProperty("string", "name", "Cube"))->clone());
  EXPECT_EQ(static_cast<GxStringProperty *>(leafCopy.get())->value(), "Cube");
  EXPECT_EQ(leafCopy->name(), "name");
}

TEST(GxNode, RootDumpListsEachChildAtLevelZero) {
  GxPtr root(makeGxRoot());
  auto *body = new GxNode("body", "cube", true, false);
  root->addChild(body);
  auto *vertices = new GxNode("vertex", "vertices", false, true);
  body->addChild(vertices);
  auto *item = new GxNode("vertex");
  vertices->addChild(item);
  item->addChild(new GxFloatArrayProperty("vec3f", "coord", {1, 0.5f, 2}));
  body->addChild(new GxStringProperty("string", "material", "red"));
  body->addChild(new GxIntProperty("integer", "count", 3));
  body->addChild(new GxFloatProperty("float", "OPACITY", 1));
  body->addChild(new GxFloatProperty("boolean", "flag", 1));
  body->addChild(new GxNode("group", "loose", false, false));
  root->addChild(new GxNode("material", "red", true, false));
  std::ostringstream out;
  EXPECT_TRUE(root->writeText(out, 0));
  EXPECT_EQ(out.str(), "body cube (\n"
                       "  vertices[] <\n"
                       "     (\n"
                       "      coord  1.00000 0.500000 2.00000;\n"
                       "    )\n"
                       "  >\n"
                       "  material \"red\";\n"
                       "  count 3;\n"
                       "  OPACITY 1.00000;\n"
                       "  flag 1.0;\n"
                       "  loose[] <\n"
                       "  \n"
                       "\n"
                       ")\n"
                       "material red (\n"
                       ")\n");
}

} // namespace
