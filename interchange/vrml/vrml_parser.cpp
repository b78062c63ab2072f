#include "interchange/vrml/vrml_parser.h"

#include "interchange/vrml/vrml_lexer.h"

#include <string>
#include <unordered_map>

namespace {

// Thrown once the problem is reported: ends a parse that cannot go on.
struct ParseAbort {};

class Parser {
public:
  Parser(std::string_view text, std::ostream &diag) : lex_(text), diag_(diag) {}
  void run(std::vector<moNodePtr> &nodes);

private:
  VrmlLexer::Kind advance();
  void expect(VrmlLexer::Kind kind, char c);
  [[noreturn]] void fail(const std::string &message);
  void report(const std::string &message);
  std::string got() const;

  bool skipStatement(std::string_view word);
  moNodePtr node(int32_t depth);
  moNodePtr typedNode(int32_t depth);
  void nodeBody(moNode &node, int32_t depth);
  void declaration(int32_t depth);
  void value(moField &field, int32_t depth);
  template <typename Item>
  void values(moField &field, VrmlLexer::Kind kind, size_t width, Item item);
  void nodes(moField &field, int32_t depth);
  void strings(moField &field);
  void numbers(moField &field);
  void number(moField &field, size_t index);
  void image(moField &field);
  void skipBlock();
  void skipValue();

  VrmlLexer lex_;
  std::ostream &diag_;
  std::unordered_map<std::string, moNodePtr> defs_;
  int64_t nodeCount_ = 0;
};

void Parser::run(std::vector<moNodePtr> &nodes) {
  diag_ << kVrmlParserName << '\n';
  advance(); // the header line is a comment: the lexer has stepped over it
  while (lex_.kind() != VrmlLexer::kEnd) {
    if (lex_.kind() != VrmlLexer::kWord)
      report("Extra characters ('" + got() + "') found in input");
    else if (!skipStatement(lex_.token()))
      if (moNodePtr n = node(1))
        nodes.push_back(std::move(n));
    advance();
  }
}

VrmlLexer::Kind Parser::advance() {
  const VrmlLexer::Kind kind = lex_.next();
  if (kind == VrmlLexer::kBadString)
    fail("Unterminated string starting in line " + std::to_string(lex_.line()));
  return kind;
}

void Parser::expect(VrmlLexer::Kind kind, char c) {
  if (advance() == kind)
    return;
  if (lex_.kind() == VrmlLexer::kEnd)
    fail(std::string("Expected '") + c + "'; got EOF");
  fail(std::string("Expected '") + c + "'; got '" + got() + "'");
}

void Parser::fail(const std::string &message) {
  report(message);
  throw ParseAbort();
}

void Parser::report(const std::string &message) {
  diag_ << message << " (line " << lex_.line() << ")\n";
}

std::string Parser::got() const {
  return lex_.token().empty() ? std::string() : std::string(1, lex_.token()[0]);
}

// PROTO, EXTERNPROTO and ROUTE, which may stand among nodes and among fields: read past, never
// expanded or fetched. False for any other word.
bool Parser::skipStatement(std::string_view word) {
  if (word == "ROUTE") {
    for (int i = 0; i < 3; ++i)
      if (advance() != VrmlLexer::kWord)
        fail("Bad ROUTE statement");
    return true;
  }
  if (word != "PROTO" && word != "EXTERNPROTO")
    return false;
  const std::string kind(word);
  if (advance() != VrmlLexer::kWord)
    fail("No name given after " + kind);
  const std::string name(lex_.token());
  expect(VrmlLexer::kOpenBracket, '[');
  skipBlock();
  if (kind == "PROTO") {
    expect(VrmlLexer::kOpenBrace, '{');
    skipBlock();
    report("Skipped PROTO \"" + name + "\": prototypes are not expanded");
  } else {
    skipValue(); // the URLs, which are not fetched
    report("Skipped EXTERNPROTO \"" + name + "\": external prototypes are not fetched");
  }
  return true;
}

// The current token is a word that starts a node: USE, DEF, NULL or a node type. Null for NULL,
// for an unknown node type and for an unknown reference.
moNodePtr Parser::node(int32_t depth) {
  if (depth > kVrmlMaxDepth)
    fail("Nodes nested more than " + std::to_string(kVrmlMaxDepth) + " levels deep");
  const std::string_view word = lex_.token();
  if (word == "NULL")
    return nullptr;
  if (word != "USE" && word != "DEF")
    return typedNode(depth);
  const std::string keyword(word);
  if (advance() != VrmlLexer::kWord)
    fail(lex_.kind() == VrmlLexer::kEnd ? "Premature end of file after " + keyword
                                        : "No name given after " + keyword);
  const std::string name(lex_.token());
  if (keyword == "USE") {
    const auto found = defs_.find(name);
    if (found == defs_.end())
      report("Unknown reference \"" + name + "\"");
    return found == defs_.end() ? nullptr : found->second;
  }
  if (advance() != VrmlLexer::kWord)
    fail(lex_.kind() == VrmlLexer::kEnd ? "Premature end of file after DEF"
                                        : "Invalid definition of " + name);
  std::shared_ptr<moNode> n = std::const_pointer_cast<moNode>(typedNode(depth));
  if (n) {
    n->setName(name);
    defs_[name] = n; // only now: a node cannot USE itself
  }
  return n;
}

moNodePtr Parser::typedNode(int32_t depth) {
  const moNodeType *type = findNodeType(lex_.token());
  if (!type) {
    report("Unknown class \"" + std::string(lex_.token()) + "\"");
    if (lex_.peek() == VrmlLexer::kOpenBrace) {
      advance();
      skipBlock();
    }
    return nullptr;
  }
  if (++nodeCount_ > kVrmlMaxNodes)
    fail("The file holds more than " + std::to_string(kVrmlMaxNodes) + " nodes");
  auto n = std::make_shared<moNode>(*type);
  expect(VrmlLexer::kOpenBrace, '{');
  nodeBody(*n, depth);
  if (n->height() > kVrmlMaxDepth)
    fail("Nodes nested more than " + std::to_string(kVrmlMaxDepth) + " levels deep");
  return n;
}

void Parser::nodeBody(moNode &node, int32_t depth) {
  for (;;) {
    const VrmlLexer::Kind kind = advance();
    if (kind == VrmlLexer::kCloseBrace)
      return;
    if (kind != VrmlLexer::kWord)
      fail(kind == VrmlLexer::kEnd ? "Expected '}'; got EOF" : "Expected '}'; got '" + got() + "'");
    const std::string_view word = lex_.token();
    if (skipStatement(word))
      continue;
    if (word == "field" || word == "exposedField" || word == "eventIn" || word == "eventOut") {
      declaration(depth);
      continue;
    }
    const moFieldSpec *spec = node.type().field(word);
    if (!spec) {
      report("Unknown field \"" + std::string(word) + "\"");
      skipValue();
      continue;
    }
    moField field;
    field.spec = spec;
    value(field, depth);
    node.setField(std::move(field));
  }
}

// An interface declaration of a Script: its value, if any, is read and dropped.
void Parser::declaration(int32_t depth) {
  const bool hasValue = lex_.token() == "field" || lex_.token() == "exposedField";
  moFieldSpec spec;
  if (advance() != VrmlLexer::kWord || !fieldTypeNamed(lex_.token(), spec.type) ||
      advance() != VrmlLexer::kWord)
    fail("Bad field specifications for node");
  spec.name = lex_.token();
  if (!hasValue)
    return;
  moField field;
  field.spec = &spec;
  value(field, depth);
}

void Parser::value(moField &field, int32_t depth) {
  const moFieldType type = field.spec->type;
  if (type == moSFNode || type == moMFNode)
    nodes(field, depth);
  else if (type == moSFString || type == moMFString)
    strings(field);
  else if (type == moSFImage)
    image(field);
  else
    numbers(field);
}

// Reads the values of field: with a multi-valued field that opens a bracket every value up to
// the ']', otherwise one value of width tokens. Each token must be of kind; item(i) takes the
// current token as part of value number i.
template <typename Item>
void Parser::values(moField &field, VrmlLexer::Kind kind, size_t width, Item item) {
  const bool list = isMultiValued(field.spec->type) && lex_.peek() == VrmlLexer::kOpenBracket;
  if (list)
    advance();
  for (size_t i = 0; list || i < width; ++i) {
    const VrmlLexer::Kind got = advance();
    if (list && got == VrmlLexer::kCloseBracket)
      return;
    if (got == VrmlLexer::kEnd && list)
      fail("Expected ']'; got EOF");
    if (got != kind)
      fail(list ? "Couldn't read value " + std::to_string(i / width) + " of field \"" +
                      field.spec->name + "\""
                : "Couldn't read value for field \"" + field.spec->name + "\"");
    item(list ? i / width : 0);
  }
}

void Parser::nodes(moField &field, int32_t depth) {
  values(field, VrmlLexer::kWord, 1, [&](size_t) {
    moNodePtr n = node(depth + 1);
    if (n || field.spec->type == moSFNode)
      field.nodes.push_back(std::move(n));
  });
}

void Parser::strings(moField &field) {
  values(field, VrmlLexer::kString, 1,
         [&](size_t) { field.strings.push_back(unescapeVrmlString(lex_.token())); });
}

void Parser::numbers(moField &field) {
  const size_t width = size_t(numbersPerValue(field.spec->type));
  values(field, VrmlLexer::kWord, width, [&](size_t index) { number(field, index); });
  const size_t count = isIntegerValued(field.spec->type) ? field.ints.size() : field.floats.size();
  if (count % width != 0)
    fail("Couldn't read value " + std::to_string(count / width) + " of field \"" +
         field.spec->name + "\"");
}

// The current word as one number of field (value number index, for the message).
void Parser::number(moField &field, size_t index) {
  const std::string_view word = lex_.token();
  const moFieldType type = field.spec->type;
  if (type == moSFBool) {
    if (word != "TRUE" && word != "FALSE")
      report("Unknown value (\"" + std::string(word) + "\") for moSFBool (must be TRUE or FALSE)");
    field.ints.push_back(word == "TRUE");
    return;
  }
  int32_t i = 0;
  float f = 0;
  const bool integer = isIntegerValued(type);
  if (integer ? !parseVrmlInt(word, i) : !parseVrmlFloat(word, f))
    fail(isMultiValued(type) ? "Couldn't read value " + std::to_string(index) + " of field \"" +
                                   field.spec->name + "\""
                             : "Couldn't read value for field \"" + field.spec->name + "\"");
  if (integer)
    field.ints.push_back(i);
  else
    field.floats.push_back(f);
}

// Width, height and components, then one integer per pixel; the pixels are read and dropped.
void Parser::image(moField &field) {
  int32_t size[3] = {0, 0, 0};
  for (int32_t &s : size)
    if (advance() != VrmlLexer::kWord || !parseVrmlInt(lex_.token(), s) || s < 0)
      fail("Couldn't read value for field \"" + field.spec->name + "\"");
  field.ints.assign(size, size + 3);
  int32_t pixel = 0;
  for (int64_t i = 0, n = int64_t(size[0]) * size[1]; i < n; ++i)
    if (advance() != VrmlLexer::kWord || !parseVrmlInt(lex_.token(), pixel))
      fail("Couldn't read value " + std::to_string(i) + " of field \"" + field.spec->name + "\"");
}

// Skips to the end of a block whose opening brace or bracket was the current token.
void Parser::skipBlock() {
  for (int64_t open = 1; open > 0;) {
    switch (advance()) {
    case VrmlLexer::kEnd:
      fail("Expected '}'; got EOF");
    case VrmlLexer::kOpenBrace:
    case VrmlLexer::kOpenBracket:
      ++open;
      break;
    case VrmlLexer::kCloseBrace:
    case VrmlLexer::kCloseBracket:
      --open;
      break;
    default:
      break;
    }
  }
}

// Skips the value of a field of unknown type: a bracketed list, a node, a string, a run of
// numbers or one word.
void Parser::skipValue() {
  const VrmlLexer::Kind kind = lex_.peek();
  const std::string_view word = lex_.peekToken();
  if (kind == VrmlLexer::kOpenBracket || kind == VrmlLexer::kOpenBrace) {
    advance();
    skipBlock();
  } else if (kind == VrmlLexer::kString) {
    advance();
  } else if (kind == VrmlLexer::kWord && looksNumeric(word)) {
    while (lex_.peek() == VrmlLexer::kWord && looksNumeric(lex_.peekToken()))
      advance();
  } else if (kind == VrmlLexer::kWord) {
    const int words = word == "DEF" ? 3 : word == "USE" ? 2 : 1;
    for (int i = 0; i < words; ++i)
      advance();
    if (words != 2 && lex_.peek() == VrmlLexer::kOpenBrace) {
      advance();
      skipBlock();
    }
  }
}

} // namespace

bool parseVrml(std::string_view text, std::vector<moNodePtr> &nodes, std::ostream &diagnostics) {
  nodes.clear();
  if (text.substr(0, 10) != "#VRML V2.0") {
    diagnostics << kVrmlParserName << '\n'
                << "Not a VRML 2.0 file: it does not start with \"#VRML V2.0\"" << std::endl;
    return false;
  }
  try {
    Parser(text, diagnostics).run(nodes);
    return true;
  } catch (const ParseAbort &) {
    nodes.clear();
    return false;
  }
}
