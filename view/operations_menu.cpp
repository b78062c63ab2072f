#include "view/operations_menu.h"

#include "core/primitives.h"
#include "ops/operation_commands.h"

namespace {

using Entries = std::vector<MenuEntry>;

MenuEntry separator() { return {MenuEntry::Type::Separator, "", "", {}, true, {}}; }
MenuEntry heading(const char *text) { return {MenuEntry::Type::Heading, text, "", {}, true, {}}; }

// An entry whose command no operation of this build provides.
MenuEntry unavailable(const char *text, const char *help) {
  return {MenuEntry::Type::Command, text, help, {}, false, {}};
}

MenuEntry submenu(const char *text, Entries entries) {
  return {MenuEntry::Type::Submenu, text, "", {}, true, std::move(entries)};
}

// The entries of a menu that start no operation, each leading its section there.
struct OtherEntry {
  uint8_t menus;
  uint8_t section;
  MenuEntry entry;
};

const std::vector<OtherEntry> &otherEntries() {
  static const std::vector<OtherEntry> entries = {
      {kMenuObjects, kSectionPaint,
       submenu("Clear Paint",
               {unavailable("Paint Layer to Color", ""), unavailable("Delete Paint Layer", "")})},
      {kMenuObjects,
       kSectionObject,
       {MenuEntry::Type::Command,
        "Object Statistics",
        "Display name, face count, edge count & vertex count",
        {MenuCommand::Kind::Statistics, -1, 0},
        true,
        {}}},
  };
  return entries;
}

// `pattern` with each '#' replaced by the argument's label.
std::string withArgument(const char *pattern, const std::string &label) {
  std::string out;
  for (const char *c = pattern; *c; ++c)
    out += *c == '#' ? label : std::string(1, *c);
  return out;
}

const char *const kAxes[] = {"X", "Y", "Z"};

// One entry per argument of a row's place, appended to `run` or to its submenu.
void addPlace(Entries &run, const OperationRow &row, const MenuPlace &place) {
  const bool axes = row.axisBound();
  const int32_t first = axes ? 0 : place.firstArgument, last = axes ? 2 : place.lastArgument;
  const MenuCommand::Kind kind =
      row.unnumbered ? MenuCommand::Kind::Unnumbered : MenuCommand::Kind::Operation;
  if (place.submenu && (run.empty() || run.back().type != MenuEntry::Type::Submenu ||
                        run.back().text != place.submenu))
    run.push_back(submenu(place.submenu, {}));
  Entries &into = place.submenu ? run.back().submenu : run;
  for (int32_t a = first; a <= last; ++a) {
    const std::string label = axes ? kAxes[a] : std::to_string(a);
    into.push_back({MenuEntry::Type::Command,
                    withArgument(place.text, label),
                    withArgument(place.help, label),
                    MenuCommand{kind, row.id, a},
                    row.setup != nullptr,
                    {}});
  }
}

// The entries of one section of a menu: those that start no operation, then the rows' places.
Entries section(uint8_t menu, uint8_t number) {
  Entries run;
  for (const OtherEntry &other : otherEntries())
    if ((other.menus & menu) && other.section == number)
      run.push_back(other.entry);
  for (const OperationRow &row : operationRows())
    for (const MenuPlace &place : {row.menu, row.secondMenu})
      if ((place.menus & menu) && place.section == number)
        addPlace(run, row, place);
  return run;
}

// The heading, then the sections that have entries in this menu, separators between them.
Entries selectionMenu(const char *title, uint8_t menu) {
  Entries e{heading(title), separator()};
  bool first = true;
  for (uint8_t number = 0; number < kMenuSectionCount; ++number) {
    Entries run = section(menu, number);
    if (run.empty())
      continue;
    if (!first)
      e.push_back(separator());
    first = false;
    e.insert(e.end(), run.begin(), run.end());
  }
  return e;
}

MenuEntry primitive(const char *text, PrimitiveType type, const char *help) {
  return {MenuEntry::Type::Command,
          text,
          help,
          {MenuCommand::Kind::Primitive, int32_t(type), 0},
          true,
          {}};
}

Entries primitivesMenu() {
  using P = PrimitiveType;
  return {primitive("Tetrahedron", P::Tetrahedron, "Add a tetrahedron"),
          primitive("Octahedron", P::Octahedron, "Add a octahedron"),
          primitive("Dodecahedron", P::Dodecahedron, "Add a dodecahedron"),
          primitive("Icosahedron", P::Icosahedron, "Add a icosahedron"),
          separator(),
          primitive("Cube", P::Cube, "Add a cube"),
          separator(),
          primitive("Cylinder", P::Cylinder, "Add a cylinder"),
          primitive("Cone", P::Cone, "Add a cone"),
          primitive("Torus", P::Torus, "Add a torus"),
          primitive("Sphere", P::Sphere, "Add a sphere"),
          separator(),
          primitive("Grid", P::Grid, "Add a grid")};
}

} // namespace

const std::vector<MenuEntry> &operationsMenu(MenuKind kind) {
  static const Entries none, vertices = selectionMenu("Vertex Operations", kMenuVertices),
                             edges = selectionMenu("Edge Operations", kMenuEdges),
                             faces = selectionMenu("Face Operations", kMenuFaces),
                             objects = selectionMenu("Object Operations", kMenuObjects),
                             primitives = primitivesMenu();
  switch (kind) {
  case MenuKind::Vertices:
    return vertices;
  case MenuKind::Edges:
    return edges;
  case MenuKind::Faces:
    return faces;
  case MenuKind::Objects:
    return objects;
  case MenuKind::Primitives:
    return primitives;
  default:
    return none;
  }
}
