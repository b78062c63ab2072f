#include "interchange/gx_packed.h"
#include "interchange/obj/obj_format.h"
#include "interchange/obj/obj_lexer.h"
#include "interchange/obj/obj_line_scan.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <unordered_set>
#include <vector>

namespace {

// Faces larger than this are refused: a single line could otherwise ask for a polygon whose
// corner search grows with the square of its size.
constexpr size_t kMaxFaceCorners = 4096;
// Every corner costs a few tree elements; past this many the rest of the file's faces are left
// out, so that no file can make the tree outgrow memory (objects hold at most 32 768 faces, so
// this is still a hundred full objects of triangles).
constexpr int64_t kMaxCorners = int64_t(1) << 22;

struct Corner {
  int32_t position = -1, texture = -1; // 0-based list positions, -1 for none
};

// The "v" (width 3) or "vt" (width 2) lines of the file as plain numbers, a line whose numbers
// were unusable marked by a NaN. Each body that uses an entry gets one item for it, made on
// first use; body and item say where the entry was used last.
template <int Width> struct SharedList {
  struct Entry {
    float values[Width];
    int32_t body = -1, item = -1;
  };
  std::vector<Entry> entries;

  void push(const float *values) {
    entries.emplace_back();
    std::copy(values, values + Width, entries.back().values);
  }
  // The entry of a 1-based OBJ number (negative: counted back from the latest), or -1.
  int32_t resolve(int32_t number) const {
    const int64_t size = int64_t(entries.size());
    const int64_t p = number > 0 ? int64_t(number) - 1 : size + number;
    return number != 0 && p >= 0 && p < size && !std::isnan(entries[size_t(p)].values[0])
               ? int32_t(p)
               : -1;
  }
};

class ObjReader {
public:
  ObjReader(std::string_view bytes, const CompanionReader &companions, std::ostream &diag,
            bool simpleLines)
      : lex_(bytes), companions_(companions), diag_(diag), root_(makeGxRoot()),
        simpleLines_(simpleLines) {}

  GxElement *run();

private:
  // Reads the line ahead when it is a simple one (see ObjLineScan); false, with nothing read,
  // when it is not.
  bool simpleLine();
  bool simpleCorners(ObjLineScan &scan);
  void statement(std::string_view word);
  // Reads count numbers into out; false (reported, rest of the line skipped) when one is
  // missing or not a finite number.
  bool numbers(int count, float *out, const char *message);
  // Ends a statement: anything but the line end is reported and skipped.
  void endStatement();
  void vertex();
  void texCoord();
  void normal();
  void face();
  void materialLibrary();
  void nameBodies(std::string name);
  void startBody();
  bool readCorners(std::vector<Corner> &corners);
  // Adds the face of corners_ (usable corners) to the current body, starting one if needed.
  void addFace();
  // Adds the values of an index list to the face being made: for each corner from the last to
  // the first, the body's item for the corner's entry of list, made with makeItem the first
  // time the body uses it.
  template <int Width, class MakeItem>
  void indexCorners(SharedList<Width> &list, int32_t Corner::*entry, int32_t &items,
                    MakeItem makeItem);
  void report(const char *message, const char *tail = ".") {
    diag_ << message << statementLine_ << tail << '\n';
  }

  ObjLexer lex_;
  const CompanionReader &companions_;
  std::ostream &diag_;
  GxPtr root_;
  const bool simpleLines_;
  int32_t statementLine_ = 0;
  SharedList<3> positions_;
  SharedList<2> texCoords_;
  int64_t cornersRead_ = 0;                   // corners of all faces taken so far
  std::unordered_set<std::string> libraries_; // material files read already
  std::string group_ = "default_name", material_;
  bool bodyPending_ = true;
  int32_t bodyNumber_ = -1;
  GxVec3List *vertices_ = nullptr;
  GxUvList *uvArray_ = nullptr;
  GxFaceList *faces_ = nullptr;
  int32_t vertexItems_ = 0, uvItems_ = 0;
  std::vector<Corner> corners_;
};

GxElement *ObjReader::run() {
  try {
    for (;;) {
      if (simpleLines_ && simpleLine())
        continue;
      const ObjLexer::Kind kind = lex_.next();
      if (kind == ObjLexer::kEnd)
        break;
      statementLine_ = lex_.line();
      if (kind == ObjLexer::kLineEnd)
        continue;
      if (kind != ObjLexer::kWord) {
        report("Error: unexpected token in line ");
        lex_.skipLine();
        continue;
      }
      statement(lex_.token());
    }
  } catch (const std::bad_alloc &) {
    diag_ << "Error: out of memory in line " << statementLine_ << " ." << std::endl;
    return nullptr;
  }
  diag_.flush();
  return root_.release();
}

bool ObjReader::simpleLine() {
  statementLine_ = lex_.line(); // for the messages of addFace and of memory running out
  ObjLineScan scan(lex_.ahead());
  float values[3];
  switch (scan.statement()) {
  case ObjLineScan::kVertex:
    if (!scan.number(values[0]) || !scan.number(values[1]) || !scan.number(values[2]) ||
        !scan.lineEnds())
      return false;
    positions_.push(values);
    break;
  case ObjLineScan::kTexCoord: // the rest of the line is not read
    if (!scan.number(values[0]) || !scan.number(values[1]))
      return false;
    scan.skipRest();
    texCoords_.push(values);
    break;
  case ObjLineScan::kNormal:
    if (!scan.number(values[0]) || !scan.number(values[1]) || !scan.number(values[2]))
      return false;
    scan.skipRest();
    break;
  case ObjLineScan::kFace:
    if (!simpleCorners(scan))
      return false;
    addFace();
    break;
  default:
    return false;
  }
  lex_.passLine(scan.consumed());
  return true;
}

// The corners of an "f" line into corners_ when all are plain, usable and followed by nothing
// but the line end.
bool ObjReader::simpleCorners(ObjLineScan &scan) {
  corners_.clear();
  ObjLineScan::Corner read;
  do {
    if (corners_.size() == kMaxFaceCorners || !scan.corner(read))
      return false;
    const int32_t position = positions_.resolve(read.position);
    const int32_t texture = read.textured ? texCoords_.resolve(read.texture) : -1;
    if (position < 0 || (read.textured && texture < 0))
      return false;
    Corner &corner = corners_.emplace_back(); // filled in place: no copy through the stack
    corner.position = position;
    corner.texture = texture;
  } while (!scan.lineEnds());
  return corners_.size() >= 3;
}

void ObjReader::statement(std::string_view word) {
  if (word == "v")
    vertex();
  else if (word == "vt")
    texCoord();
  else if (word == "vn")
    normal();
  else if (word == "f")
    face();
  else if (word == "g" || word == "o")
    nameBodies(lex_.next() >= ObjLexer::kWord ? std::string(lex_.token()) : "default_name");
  else if (word == "mtllib")
    materialLibrary();
  else if (word == "usemtl") {
    material_ = lex_.next() >= ObjLexer::kWord ? std::string(lex_.token()) : std::string();
    bodyPending_ = true;
  }
  // Every statement skips whatever its line still holds.
  if (lex_.token().empty() || lex_.token().back() != '\n')
    lex_.skipLine();
}

bool ObjReader::numbers(int count, float *out, const char *message) {
  for (int i = 0; i < count; ++i) {
    lex_.next();
    if (!lex_.number(out[i])) {
      report(message, " .");
      return false;
    }
  }
  return true;
}

void ObjReader::endStatement() {
  const ObjLexer::Kind kind = lex_.next();
  if (kind != ObjLexer::kLineEnd && kind != ObjLexer::kEnd)
    report("Error: unexpected token in line ", " .");
}

// A line whose numbers are unusable still takes its place in the list, so that later numbers
// keep naming the lines they mean; faces that name it are left out.
void ObjReader::vertex() {
  float p[3];
  if (!numbers(3, p, "Error: float or int value expected for vertex in line ")) {
    p[0] = NAN;
    positions_.push(p);
    return;
  }
  positions_.push(p);
  endStatement();
}

void ObjReader::texCoord() {
  float uv[2];
  if (!numbers(2, uv, "Error: float or int value expected for vertex in line "))
    uv[0] = NAN;
  texCoords_.push(uv);
}

// Normals are read for their syntax only: imported bodies carry none.
void ObjReader::normal() {
  float n[3];
  numbers(3, n, "Error: float value expected for vertex normal in line ");
}

void ObjReader::nameBodies(std::string name) {
  bodyPending_ = bodyPending_ || name != group_;
  group_ = std::move(name);
}

void ObjReader::materialLibrary() {
  for (ObjLexer::Kind kind = lex_.next(); kind >= ObjLexer::kWord; kind = lex_.next()) {
    const std::string name(lex_.token());
    if (!libraries_.insert(name).second)
      continue;
    std::string bytes;
    if (companions_ && companions_(name, bytes))
      readMtl(bytes, name, *root_, diag_);
    else
      diag_ << "Error opening file " << name << '\n';
  }
}

void ObjReader::startBody() {
  GxNode *body = addNode(*root_, "body", group_.c_str());
  addString(*body, "material", material_);
  vertices_ = addList(*body, new GxVec3List("vertex", "vertices", GxVec3List::kVertexItems));
  uvArray_ = addList(*body, new GxUvList("uv-array", ""));
  faces_ = addList(*body, new GxFaceList({"vertex-indices", "uv-indices"}));
  vertexItems_ = uvItems_ = 0;
  ++bodyNumber_;
  bodyPending_ = false;
}

// Reads the corner tokens of an "f" line; false (reported) when one names nothing usable.
bool ObjReader::readCorners(std::vector<Corner> &corners) {
  corners.clear();
  bool usable = true;
  for (ObjLexer::Kind kind = lex_.next(); kind == ObjLexer::kInteger || kind == ObjLexer::kCorner;
       kind = lex_.next()) {
    const std::string_view token = lex_.token();
    const size_t slash = token.find('/');
    int32_t number = 0;
    Corner corner;
    if (parseObjInteger(token.substr(0, slash), number))
      corner.position = positions_.resolve(number);
    if (slash != std::string_view::npos) {
      const std::string_view rest = token.substr(slash + 1);
      const std::string_view texture = rest.substr(0, rest.find('/'));
      if (!texture.empty() &&
          (!parseObjInteger(texture, number) || (corner.texture = texCoords_.resolve(number)) < 0))
        corner.texture = -2; // names a coordinate that does not exist
    }
    usable = usable && corner.position >= 0 && corner.texture != -2;
    if (corners.size() < kMaxFaceCorners)
      corners.push_back(corner);
    else
      usable = false;
  }
  if (!usable)
    report("Error: face names a vertex that does not exist in line ", " .");
  return usable;
}

void ObjReader::face() {
  if (readCorners(corners_) && corners_.size() >= 3)
    addFace();
}

void ObjReader::addFace() {
  cornersRead_ += int64_t(corners_.size());
  if (cornersRead_ > kMaxCorners) {
    if (cornersRead_ - int64_t(corners_.size()) <= kMaxCorners)
      report("Error: too many faces, the rest are left out, from line ", " .");
    return;
  }
  if (bodyPending_)
    startBody();
  // uv-indices only when every corner has a texture coordinate.
  const bool textured =
      std::all_of(corners_.begin(), corners_.end(), [](const Corner &c) { return c.texture >= 0; });
  faces_->start(int32_t(corners_.size()), textured ? 3 : 1);
  indexCorners(positions_, &Corner::position, vertexItems_,
               [this](const float *p) { vertices_->push(p[0], p[1], p[2]); });
  if (textured)
    indexCorners(texCoords_, &Corner::texture, uvItems_,
                 [this](const float *uv) { uvArray_->push(uv[0], uv[1]); });
}

template <int Width, class MakeItem>
void ObjReader::indexCorners(SharedList<Width> &list, int32_t Corner::*entry, int32_t &items,
                             MakeItem makeItem) {
  for (auto c = corners_.rbegin(); c != corners_.rend(); ++c) {
    auto &e = list.entries[size_t((*c).*entry)];
    if (e.body != bodyNumber_) {
      makeItem(e.values);
      e.body = bodyNumber_;
      e.item = items++;
    }
    faces_->add(e.item);
  }
}

} // namespace

GxElement *readObjLines(std::string_view bytes, const CompanionReader &companions,
                        std::ostream &diagnostics, bool simpleLines) {
  return ObjReader(bytes, companions, diagnostics, simpleLines).run();
}

GxElement *readObj(std::string_view bytes, const CompanionReader &companions,
                   std::ostream &diagnostics) {
  return readObjLines(bytes, companions, diagnostics, true);
}

bool sniffObj(std::string_view bytes) {
  static const char *const kStatements[] = {"v", "vt", "vn", "f", "g", "o", "usemtl", "mtllib"};
  const std::string_view head = bytes.substr(0, 4096);
  for (char c : head)
    if (c == '\0')
      return false;
  ObjLexer lex(head);
  for (ObjLexer::Kind kind = lex.next(); kind != ObjLexer::kEnd && lex.line() <= 64;
       kind = lex.next()) {
    if (kind == ObjLexer::kLineEnd)
      continue;
    for (const char *word : kStatements)
      if (kind == ObjLexer::kWord && lex.token() == word)
        return true;
    lex.skipLine();
  }
  return false;
}
