#include "ops/drag.h"
#include "ops/operation_commands.h"
#include "ops/operation_table.h"
#include "tests/ops/ops_fixture.h"
#include "tests/ops/ops_test_support.h"
#include "view/operations_menu.h"

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

using RowKey = std::pair<bool, int32_t>; // unnumbered, id

int32_t rowsWith(bool unnumbered, int32_t id) {
  int32_t n = 0;
  for (const OperationRow &row : operationRows())
    n += row.unnumbered == unnumbered && row.id == id;
  return n;
}

TEST(OperationTable, EveryIdHasOneRowWithItsOwnNameAndScriptCode) {
  for (OperationId id : kAllOperationIds)
    EXPECT_EQ(1, rowsWith(false, id)) << id;
  for (UnnumberedCommand command : kAllUnnumberedCommands)
    EXPECT_EQ(1, rowsWith(true, command)) << command;
  std::set<std::string> names;
  std::set<int32_t> codes;
  size_t rows = 0;
  for (const OperationRow &row : operationRows()) {
    ++rows;
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    EXPECT_TRUE(codes.insert(row.scriptCode).second) << row.name;
    EXPECT_EQ(&row, operationByScriptCode(row.scriptCode)) << row.name;
    const std::string name = row.name;
    EXPECT_EQ(row.axisBound() ? nullptr : &row, operationByName(name).row) << name;
    if (row.axisBound()) {
      const NamedOperation y = operationByName(name + "-y");
      EXPECT_EQ(&row, y.row) << name;
      EXPECT_EQ(1, y.axis) << name;
    }
  }
  EXPECT_EQ(std::size(kAllOperationIds) + std::size(kAllUnnumberedCommands), rows);
  EXPECT_EQ(nullptr, operationByScriptCode(0));
  EXPECT_EQ(nullptr, operationByName("move-axis-w").row);
  EXPECT_EQ(nullptr, operationByName("bevel-x").row);
}

// Every operation command of the four selection menus with its argument.
void collectMenuCommands(const std::vector<MenuEntry> &entries,
                         std::map<RowKey, std::set<int32_t>> &out) {
  for (const MenuEntry &e : entries) {
    collectMenuCommands(e.submenu, out);
    const MenuCommand &c = e.command;
    if (c.kind == MenuCommand::Kind::Operation || c.kind == MenuCommand::Kind::Unnumbered)
      out[{c.kind == MenuCommand::Kind::Unnumbered, c.id}].insert(c.argument);
  }
}

TEST(OperationTable, RowsAreReachedFromTheMenusTheRepeatKeyAndScripts) {
  std::map<RowKey, std::set<int32_t>> menu;
  for (MenuKind kind : {MenuKind::Vertices, MenuKind::Edges, MenuKind::Faces, MenuKind::Objects})
    collectMenuCommands(operationsMenu(kind), menu);
  std::set<std::string> withoutMenu;
  for (const OperationRow &row : operationRows()) {
    const auto found = menu.find({row.unnumbered, row.id});
    if (found == menu.end()) {
      withoutMenu.insert(row.name);
      EXPECT_EQ(0, row.menu.menus) << row.name;
    } else if (row.axisBound()) {
      EXPECT_EQ((std::set<int32_t>{0, 1, 2}), found->second) << row.name;
    }
    menu.erase({row.unnumbered, row.id});
  }
  EXPECT_TRUE(menu.empty()) << "a menu entry without a row";
  EXPECT_EQ((std::set<std::string>{"axis-multi-cut", "chip-off-each-axis", "chip-off-each-free",
                                   "chip-off-each-normal", "puff", "twist"}),
            withoutMenu);

  for (OperationId id : kAllOperationIds) {
    const OperationRow *row = operationRow(id);
    ASSERT_NE(nullptr, row);
    EXPECT_TRUE(hasOperationCommand(id));
    EXPECT_NE(kNoRepeat, row->repeatArgument) << row->name;
    EXPECT_EQ(id == kOpCutEdges ? 2 : 1, repeatArgument(id, {0, 1, 0})) << row->name;
  }
}

class DragAmountTest : public OpsSceneTest {
protected:
  DragMotion context;

  // Starts a command-line operation by name; its drag kind.
  int32_t start(const std::string &name) {
    const NamedOperation named = operationByName(name);
    EXPECT_NE(nullptr, named.row) << name;
    if (!named.row)
      return kDragNone;
    const OperationStart s = runOperationCommand(scene, named.row->id, named.axis);
    EXPECT_TRUE(s.accepted) << name;
    context.axis = s.axis;
    return s.dragKind;
  }
};

TEST_F(DragAmountTest, ExtrudeNormalMovesTheNewFaceThatFarAlongItsNormal) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  const moVec3 n = obj().faceNormal(0, true);
  const std::vector<moVec3> was = facePoints(obj(), 0);
  EXPECT_STREQ("units", dragUnit(kDragMoveNormal));
  ASSERT_TRUE(applyDragAmount(scene, start("extrude-normal"), 1.5f, context));
  const std::vector<moVec3> now = facePoints(obj(), 0);
  ASSERT_EQ(was.size(), now.size());
  for (size_t i = 0; i < now.size(); ++i)
    expectNear(::add(was[i], scale(1.5f, n)), now[i]);
  expectAllValid();
}

TEST_F(DragAmountTest, RotationTakesDegreesAndScalingAFactor) {
  add(PrimitiveType::Cube);
  select(moOBJECTS, {{0, 0}});
  const std::vector<moVec3> was = facePoints(obj(), 0);
  ASSERT_TRUE(applyDragAmount(scene, start("rotate-axis-z"), 90, context));
  for (size_t i = 0; i < was.size(); ++i) // a quarter turn about z through the centre
    expectNear({-was[i].y, was[i].x, was[i].z}, facePoints(obj(), 0)[i]);

  EXPECT_STREQ("factor", dragUnit(kDragScaleUniform));
  ASSERT_TRUE(applyDragAmount(scene, start("scale-uniform"), 2, context));
  for (size_t i = 0; i < was.size(); ++i)
    expectNear({-2 * was[i].y, 2 * was[i].x, 2 * was[i].z}, facePoints(obj(), 0)[i]);
}

TEST_F(DragAmountTest, OnePixelOfAStepIsTheAmountItsUnitSays) {
  add(PrimitiveType::Cube);
  select(moFACES, {{0, 0}});
  const moObject before = obj();
  const int32_t kind = start("bevel");
  RecordingUi otherUi;
  Scene other(otherUi);
  other.createPrimitive(PrimitiveType::Cube);
  other.SetMode(moFACES);
  other.selection.Append({0, 0});
  ASSERT_TRUE(runOperationCommand(other, kOpBevel, 0).accepted);
  DragMotion pixel;
  pixel.dx = pixel.accumulatedX = 1;
  applyDragStep(scene, kind, pixel);
  ASSERT_TRUE(applyDragAmount(other, kind, 0.25f, context)); // 5 x 0.05 per pixel
  EXPECT_NE("", meshDifference(before, obj()));
  EXPECT_EQ("", meshDifference(obj(), *other.object(0)));
}

TEST_F(DragAmountTest, KindsWithoutAScalarMeasureRefuseAndChangeNothing) {
  add(PrimitiveType::Cube);
  select(moOBJECTS, {{0, 0}});
  start("move-free");
  const std::vector<moObject> before = snapshot();
  for (int32_t kind : {int32_t(kDragMoveFree), int32_t(kDragExtrudeFree), int32_t(kDragLiftHinge),
                       int32_t(kDragLiftVertices), int32_t(kDragNone)}) {
    EXPECT_FALSE(applyDragAmount(scene, kind, 1, context)) << kind;
    EXPECT_EQ(nullptr, dragUnit(kind)) << kind;
  }
  EXPECT_EQ("", meshDifference(before[0], obj()));
}

} // namespace
