#include "app/menu_tables.h"

namespace {

constexpr MenuItem kSeparator{nullptr, 0, nullptr, nullptr};

MenuItem item(const char *label, int32_t command) { return {label, command, nullptr, nullptr}; }
MenuItem popup(const char *label, const std::vector<MenuItem> &items, const char *help) {
  return {label, 0, &items, help};
}

const std::vector<MenuItem> kAdd = {item("Tetrahedron", 9729),
                                    item("Octahedron", 9730),
                                    item("Dodecahedron", 9731),
                                    item("Icosahedron", 9732),
                                    kSeparator,
                                    item("Cube", 9733),
                                    kSeparator,
                                    item("Cylinder", 9734),
                                    item("Cone", 9735),
                                    item("Torus", 9737),
                                    item("Sphere", 9736),
                                    kSeparator,
                                    item("Grid", 9738),
                                    kSeparator,
                                    item("From File", 9739)};
const std::vector<MenuItem> kExport = {item("All", 8457), item("Selected", 8458)};
const std::vector<MenuItem> kViewAlong = {item("+ X\tx", 8966), item("+ Y\ty", 8967),
                                          item("+ Z\tz", 8968), item("- X\tX", 8969),
                                          item("- Y\tY", 8970), item("- Z\tZ", 8971)};
const std::vector<MenuItem> kAdjacent = {item("Vertices\tv", 9987), item("Edges\te", 9988),
                                         item("Faces\tf", 9989)};
const std::vector<MenuItem> kSelectAll = {item("Vertices", 9990), item("Edges", 9991),
                                          item("Faces", 9992), item("Objects", 9993)};

const MenuItem kViewAlongPopup = popup("View along", kViewAlong, "View along axis submenu");
const std::vector<MenuItem> kWindow = {item("Show object info ...", 10240),
                                       item("Show color mixer ...", 10241)};

} // namespace

const std::vector<MenuDefinition> &modelMenuBar() {
  static const std::vector<MenuDefinition> bar = {
      {"File",
       "File menu",
       {item("New", 8449), popup("Add", kAdd, "New primitive submenu"), item("Open\tCtrl+o", 8450),
        kSeparator, item("Save\tCtrl+s", 8452), item("Save as", 8453), item("Save selected", 8454),
        kSeparator, item("Screen Capture", 8459), kSeparator, item("Revert", 8455), kSeparator,
        item("Import", 8456), popup("Export", kExport, "Export submenu"), kSeparator,
        item("Quit\tCtrl+q", 8461)}},
      {"Edit",
       "Edit menu",
       {item("Undo\tCtrl+z", 8705), kSeparator, item("Delete\tDel", 8706),
        item("Delete all", 8710)}},
      {"View",
       "View menu",
       {item("Aim \ta", 8964),
        item("Reset view\tr", 8965),
        item("Ortho camera\to", 8972),
        kSeparator,
        item("Ground plane\tg", 8962),
        item("Axes\t~", 8963),
        kSeparator,
        kViewAlongPopup,
        kSeparator,
        item("Wireframe selected\tw", 9217),
        item("Wireframe all\tW", 9218),
        item("Shade selected\ts", 9219),
        item("Shade all\tS", 9220),
        kSeparator,
        item("Workmode\tTAB", 9221),
        kSeparator,
        item("Colors\tc", 9222),
        item("Textures\tt", 9223),
        kSeparator,
        item("Hot keys\th", 9485)}},
      {"Select",
       "Select menu",
       {item("Grow selection\t+", 9985), item("Shrink selection\t-", 9986),
        popup("Select adjacent", kAdjacent, "Select adjacent element submenu"),
        item("Select edge loop\tL", 9999), popup("Select all", kSelectAll, "Select all submenu"),
        kSeparator, item("Deselect/Reselect  Space Bar", 9995)}},
      {"Window", "Window menu", kWindow},
      {"Help",
       "Help menu",
       {item("Help...", 9474), item("How to...", 9484), kSeparator, item("About...", 9473)}},
  };
  return bar;
}

const std::vector<MenuDefinition> &paintMenuBar() {
  static const std::vector<MenuDefinition> bar = {
      {"File",
       "File menu",
       {item("Save\tCtrl+s", 8452), item("Save as", 8453), kSeparator, item("Revert", 8455),
        kSeparator, item("Quit\tCtrl+q", 8461)}},
      {"Edit",
       "Edit menu",
       {item("Undo", 12315), item("Redo", 12316), kSeparator, item("Paint All", 13568)}},
      {"View",
       "View menu",
       {item("Aim \ta", 8964), item("Reset view\tr", 8965), kSeparator, kViewAlongPopup}},
      {"Select",
       "Select menu",
       {item("Grow selection \t+", 9985), item("Shrink selection \t-", 9986), kSeparator,
        item("Clear selection\tSpace Bar", 9995)}},
      {"Window", "Window menu", kWindow},
      {"Help", "Help menu", {item("Help...", 9474), kSeparator, item("About...", 9473)}},
  };
  return bar;
}
