// The tutorial script format (".mvs"): a little-endian header with the model view's size when
// recording started, then commands of one code byte and its arguments. One table gives the
// argument layout of every code; the decoder and the encoder both follow it, so what the recorder
// writes the player reads back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The script codes. The modeling operations' codes (41 to 78, 83, 84, 117 to 119, 121 to 123)
// are a column of the operation table (ops/operation_table.h); every other code is named here.
enum ScriptCode : uint8_t {
  kScriptPress = 1,
  kScriptRelease = 2,
  kScriptMove = 3,
  kScriptButtons = 7,
  kScriptLastPosition = 9,
  kScriptDragKind = 10,
  kScriptHover = 12,
  kScriptDragSelect = 13,
  kScriptToggle = 14,
  kScriptIgnored = 26, // defined by the format; does nothing
  kScriptViewAlong = 27,
  kScriptResetView = 28,
  kScriptAim = 29,
  kScriptToggleOutlines = 30,
  kScriptUndo = 33, // the one-level Undo: a second one right after takes the first back
  kScriptDeleteAll = 34,
  kScriptAddPrimitive = 35,
  kScriptSetMode = 36,
  kScriptSelectAll = 37,
  kScriptSelectAdjacent = 38,
  kScriptGrow = 39,
  kScriptShrink = 40,
  kScriptSetColourUnsupported = 80,
  kScriptSetHardnessUnsupported = 81,
  kScriptShadeAll = 85,
  kScriptToggleSmooth = 86,
  kScriptToggleColours = 87,
  kScriptToggleTextures = 88,
  kScriptStepMarker = 112,
  kScriptMessage = 113,
  kScriptEdgeLoop = 114,
  kScriptSetModeEmpty = 115,
  kScriptPan = 116,
  kScriptSetColour = 120,
  kScriptPerspective = 124,
  kScriptRectangleSelect = 125,
  kScriptKeyDown = 127,
  kScriptKeyUp = 128,
  kScriptSetVisible = 129,
  kScriptSetSensitive = 130,
  kScriptRename = 131,
  kScriptTextureSize = 132,
  // A drag set to exactly an amount typed during it, in the drag kind's own measure (ops/drag.h
  // dragUnit): the bits of the IEEE 754 single as the 32-bit value.
  kScriptDragAmount = 133,
  kScriptUndoStep = 134, // the history's Undo: back one step
  kScriptRedoStep = 135, // the history's Redo: forward one step
  kScriptWheel = 136,    // a wheel turn over the model view: its delta as a signed word
  kScriptSymmetry = 137, // the modeling symmetry planes now on: a byte of bits, 1 X, 2 Y, 4 Z
};
// Longest text line kept (bytes before the line feed), and longest joined message.
constexpr size_t kScriptLineLimit = 255;
constexpr size_t kScriptMessageLimit = 1023;
// The value codes 9 uses for "no last position".
constexpr int32_t kScriptNoPosition = 0xFFFF;

// One decoded command. Arguments come in the order of the code's layout, each widened to 32 bits
// (words and bytes unsigned, the 32-bit values as stored). Code 113 keeps its lines; code 131 has
// its name as the single line.
struct ScriptCommand {
  uint8_t code = 0;
  std::vector<int32_t> args;
  std::vector<std::string> lines;
  bool known = true; // false: a code the format does not define (consumes its own byte only)
};
bool operator==(const ScriptCommand &a, const ScriptCommand &b);

// The argument layout of a code: 'b' byte, 'w' 16-bit word, 'd' 32-bit value, 'T' one text
// line, 'N' a word count then that many text lines. Null for codes the format does not define.
const char *scriptLayout(uint8_t code);

// The text code 113 shows: every line followed by CR LF, cut at kScriptMessageLimit bytes.
std::string joinScriptMessage(const std::vector<std::string> &lines);

// Reads commands from the bytes of a whole script. Never reads past the end: a command whose
// arguments the bytes cannot hold ends the script with an error.
class ScriptReader {
public:
  enum class Status { Command, End, Error };

  ScriptReader() = default;
  explicit ScriptReader(std::string bytes) : bytes_(std::move(bytes)) {}

  // Reads the header; false (with error()) when the bytes are too short for it.
  bool readHeader(int32_t &width, int32_t &height);
  // The next command, End at the end of the bytes, or Error with error() set; after an Error
  // every further call returns End. Text lines longer than kScriptLineLimit are cut there.
  Status next(ScriptCommand &command);
  // The code of the next command without reading it; -1 at the end.
  int32_t peek() const;
  bool atEnd() const { return pos_ >= bytes_.size(); }
  const std::string &error() const { return error_; }

private:
  bool readValue(size_t size, int32_t &value);
  bool readLine(std::string &line);
  bool fail(const std::string &why);

  std::string bytes_;
  size_t pos_ = 0;
  std::string error_;
};

// Appends the header bytes for a view of width x height pixels (each clamped to a word).
void encodeScriptHeader(std::string &out, int32_t width, int32_t height);
// Appends the bytes of a command as its code's layout says; arguments are cut to their widths
// and text lines to kScriptLineLimit bytes (a line feed inside a line ends it there). Missing
// arguments are written as 0. Unknown codes are written as their code byte alone.
void encodeScriptCommand(std::string &out, const ScriptCommand &command);
