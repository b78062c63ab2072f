#include "cli/run_command.h"

#include "cli/convert_command.h"
#include "cli/printing_host.h"
#include "cli/view_options.h"
#include "offscreen/offscreen_context.h"
#include "ops/drag.h"
#include "ops/operation_table.h"
#include "scene/scene_file.h"
#include "script/command_layer.h"
#include "script/command_table.h"
#include "script/scripted_controller.h"
#include "view/typed_amount.h"

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>

const char *const kRunHelp =
    "usage: morvo-cli run FILE.mvo|- [COMMAND[=AMOUNT]]... -o OUT.mvo [--size WxH]\n"
    "       morvo-cli run --list\n"
    "Opens the scene (with -, starts with an empty one), runs each COMMAND in order through the\n"
    "program's command layer as the window's menus, hot keys and operations menu do, and saves\n"
    "the scene as OUT.mvo. COMMAND is a command of the program (add-cube, select-all-faces,\n"
    "undo, ...) or an operation (extrude-normal, bevel, smooth, move-axis-y, ...). An operation\n"
    "given an AMOUNT moves by exactly that much, in model units, degrees or scale factor as it\n"
    "measures its drag, then commits; without one it commits where it starts. The amount is a\n"
    "number or arithmetic as typed during a drag (rotate-axis-y=90/3, move-normal=2*0.75).\n"
    "Cut edges takes its segment count and crease-angle its degrees as the amount.\n"
    "select=KIND:OBJECT:INDEX[,INDEX...] (KIND vertices, edges or faces) and\n"
    "select=objects:OBJECT[,OBJECT...] toggle those elements into the selection as clicks do.\n"
    "Message boxes are printed. An unknown name, a bad amount or a refused operation stops the\n"
    "run with one line on standard error and exit status 1, and no file is written. --list\n"
    "prints every name with its help. The model view is WxH pixels (default 720x486).\n";

namespace {

struct RunOptions {
  std::string scene, output;
  std::vector<std::string> steps;
  int32_t width = 720, height = 486;
  bool list = false;
};

int fail(const std::string &message) {
  std::cerr << "morvo-cli: " << message << std::endl;
  return 1;
}

// Returns an empty string when the arguments are good, else the reason.
std::string parse(const std::vector<std::string> &args, RunOptions &o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue)
      o.output = args[++i];
    else if (a == "--size" && hasValue) {
      if (const std::string bad = parseViewSize(args[++i], o.width, o.height); !bad.empty())
        return bad;
    } else if (a == "--list")
      o.list = true;
    else if (o.scene.empty() && (a == "-" || (!a.empty() && a[0] != '-')))
      o.scene = a;
    else if (!o.scene.empty() && !a.empty() && a[0] != '-')
      o.steps.push_back(a);
    else
      return "unexpected argument '" + a + "'";
  }
  if (o.list)
    return "";
  if (o.scene.empty() || o.output.empty())
    return "run needs a scene file (or -) and -o OUT.mvo";
  return "";
}

const std::map<std::string, SelectionMode> kKinds = {
    {"vertices", moVERTICES}, {"edges", moEDGES}, {"faces", moFACES}, {"objects", moOBJECTS}};

// Whole non-negative numbers separated by commas; false for anything else.
bool parseIndices(const std::string &text, std::vector<int32_t> &out) {
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ',')) {
    char *end = nullptr;
    const long value = std::strtol(item.c_str(), &end, 10);
    if (item.empty() || *end || value < 0 || value > 0xFFFF)
      return false;
    out.push_back(int32_t(value));
  }
  return !out.empty() && text.back() != ',';
}

// select=KIND:OBJECT:INDEX[,INDEX...] or select=objects:OBJECT[,OBJECT...]: the element mode,
// then one recorded click per element.
std::string select(HeadlessWindow &w, const std::string &step) {
  const std::string text = step.substr(7);
  const size_t colon = text.find(':');
  const auto kind = kKinds.find(text.substr(0, colon));
  const std::string bad = "bad selection '" + step + "' (select=KIND:OBJECT:INDEX[,INDEX...])";
  if (kind == kKinds.end() || colon == std::string::npos)
    return bad;
  std::vector<int32_t> objects, elements;
  const std::string rest = text.substr(colon + 1);
  const size_t second = rest.find(':');
  if (kind->second == moOBJECTS
          ? !parseIndices(rest, objects)
          : second == std::string::npos || !parseIndices(rest.substr(0, second), objects) ||
                objects.size() != 1 || !parseIndices(rest.substr(second + 1), elements))
    return bad;
  if (!w.layer.inSelectMode())
    return "'" + step + "' needs the model window waiting for a selection";
  if (w.scene.mode != kind->second)
    w.layer.execute(kScriptSetMode, {kind->second});
  if (kind->second == moOBJECTS)
    elements = objects;
  for (const int32_t element : elements) {
    const int32_t object = kind->second == moOBJECTS ? element : objects.front();
    if (!w.scene.elementExists({element, object}, kind->second))
      return "'" + step + "': object " + std::to_string(object) + " has no " +
             kind->first.substr(0, kind->first.size() - 1) + " " + std::to_string(element);
    w.layer.execute(kScriptToggle, {object, element});
  }
  return "";
}

// A row of the command table by name; amounts are refused, and so are the rows only the
// window can run (dialogs and windows of its own).
std::string command(HeadlessWindow &w, const CommandEntry &entry, bool hasAmount) {
  if (hasAmount)
    return "'" + std::string(entry.name) + "' takes no amount";
  if (!w.layer.available(entry.number))
    return "'" + std::string(entry.name) + "' needs the program's window";
  w.layer.run(entry.number);
  return "";
}

// A finite number, the whole text, or arithmetic giving one, as an amount typed during a drag
// reads (view/typed_amount.h).
bool parseAmount(const std::string &text, float &value) {
  return evaluateAmount(text, value) == AmountError::None;
}

// The argument an operation starts with: its axis, or for a numbered row the amount, which must
// then be a whole number.
std::string argumentOf(const NamedOperation &op, const std::string &step, const float *amount,
                       int32_t &argument) {
  const OperationRow &row = *op.row;
  argument = row.axisBound() ? op.axis : 0;
  if (row.argument == kArgNumber) {
    if (!amount || *amount != std::floor(*amount) || std::fabs(*amount) > 0x7FFF)
      return "'" + step + "' needs a whole number (" + row.name + "=N)";
    argument = int32_t(*amount);
  } else if (amount && !dragUnit(row.dragKind)) {
    return "'" + std::string(row.name) + "' takes no amount";
  }
  return "";
}

// An operation as the operations menu starts it; a drag is moved by the amount, then committed
// with a left click.
std::string operation(HeadlessWindow &w, const NamedOperation &op, const std::string &step,
                      const std::string *amountText) {
  float value = 0;
  if (amountText && !parseAmount(*amountText, value))
    return "bad amount '" + *amountText + "' in '" + step + "'";
  const float *amount = amountText ? &value : nullptr;
  int32_t argument = 0;
  if (const std::string refused = argumentOf(op, step, amount, argument); !refused.empty())
    return refused;
  if (!w.layer.inSelectMode())
    return "'" + step + "' needs the model window waiting for a selection";
  const size_t shown = w.ui.messages.size();
  w.layer.execute(op.row->scriptCode, {argument});
  if (!w.controller.startAccepted())
    return "'" + step + "' was refused" +
           (w.ui.messages.size() > shown ? ": " + w.ui.messages.back() : "");
  if (w.controller.mode() != InteractionController::DragMode)
    return "";
  if (amount && op.row->argument != kArgNumber && !w.controller.dragBy(value))
    return "'" + step + "' failed: " + w.ui.messages.back();
  const int32_t x = w.view.camera.width / 2, y = w.view.camera.height / 2;
  w.layer.execute(kScriptPress, {1, x, y});
  w.layer.execute(kScriptRelease, {1, x, y});
  return "";
}

// Runs one step; returns an empty string, or the reason the run stops.
std::string runStep(HeadlessWindow &w, const std::string &step) {
  if (step.rfind("select=", 0) == 0)
    return select(w, step);
  const size_t equals = step.find('=');
  const std::string name = step.substr(0, equals);
  if (const CommandEntry *entry = findCommand(name))
    return command(w, *entry, equals != std::string::npos);
  const std::string amount = equals == std::string::npos ? "" : step.substr(equals + 1);
  if (const NamedOperation op = operationByName(name); op.row)
    return operation(w, op, step, equals == std::string::npos ? nullptr : &amount);
  return "unknown command '" + name + "' (morvo-cli run --list names them all)";
}

void listName(const std::string &name, const std::string &help) {
  std::cout << name << std::string(name.size() < 28 ? 28 - name.size() : 1, ' ') << help << "\n";
}

// Every command, then every operation with the names of its axis variants and its amount.
void list() {
  for (const CommandEntry &entry : allCommands())
    listName(entry.name, entry.help ? entry.help : "");
  for (const OperationRow &row : operationRows()) {
    std::string name = row.name, help = row.menu.help ? row.menu.help : "";
    if (const size_t at = help.find('#'); at != std::string::npos)
      help.replace(at, 1, row.axisBound() ? "X, Y or Z" : "N");
    if (row.axisBound())
      name += "-x|-y|-z";
    if (row.argument == kArgNumber)
      name += "=N";
    else if (const char *unit = dragUnit(row.dragKind))
      name += std::string("[=") + unit + "]";
    listName(name, help);
  }
}

} // namespace

int runRun(const std::vector<std::string> &args) {
  RunOptions o;
  if (const std::string error = parse(args, o); !error.empty())
    return fail(error);
  if (o.list) {
    list();
    return 0;
  }
  OffscreenContext context;
  std::string error;
  if (!context.create(o.width, o.height, error))
    return fail(error);
  HeadlessWindow w(o.width, o.height);
  if (o.scene != "-" && !openSceneOrModel(w.target, w.ui, o.scene, false, error))
    return fail(error);
  for (const std::string &step : o.steps)
    if (const std::string stopped = runStep(w, step); !stopped.empty())
      return fail(stopped);
  if (!saveSceneFile(w.scene, o.output, false))
    return fail(w.ui.messages.empty() ? "could not save " + o.output : w.ui.messages.back());
  return 0;
}
