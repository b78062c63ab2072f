#include "interchange/gx_build.h"
#include "interchange/obj/obj_format.h"
#include "interchange/obj/obj_lexer.h"

namespace {

// A colour statement's three numbers; a missing or unusable number counts as 0.
void readColor(ObjLexer &lex, GxElement &block, const char *name) {
  float rgb[3] = {0, 0, 0};
  for (float &value : rgb) {
    if (lex.next() < ObjLexer::kWord)
      break;
    if (!lex.number(value))
      value = 0;
  }
  addVec3(block, name, rgb[0], rgb[1], rgb[2]);
}

// The texture file of a "map_Kd" line: its last token, so that options before it are passed.
void readTextureMap(ObjLexer &lex, GxElement &block) {
  std::string name;
  while (lex.next() >= ObjLexer::kWord)
    name = std::string(lex.token());
  GxNode *map = addNode(block, "map", "TEXTURE-MAP");
  addString(*map, "name", name);
}

} // namespace

void readMtl(std::string_view bytes, const std::string &fileName, GxElement &root,
             std::ostream &diagnostics) {
  ObjLexer lex(bytes);
  GxElement *block = nullptr; // the shading block of the current material
  for (ObjLexer::Kind kind = lex.next(); kind != ObjLexer::kEnd; kind = lex.next()) {
    const int32_t line = lex.line();
    if (kind == ObjLexer::kLineEnd)
      continue;
    const std::string_view word = lex.token();
    if (kind != ObjLexer::kWord) {
      diagnostics << "Error: unexpected token in line " << line << " of " << fileName << ".\n";
    } else if (word == "newmtl") {
      const std::string name = lex.next() >= ObjLexer::kWord ? std::string(lex.token()) : "";
      GxNode *material = addNode(root, "material", name.c_str());
      block = addNode(*material, "GL_Shade-domain", "GL_Shade");
    } else if (word == "Kd" || word == "Ks" || word == "map_Kd") {
      if (!block) {
        diagnostics << "Error: " << word << " before newmtl in line " << line << " of " << fileName
                    << " .\n";
      } else if (word == "map_Kd") {
        readTextureMap(lex, *block);
      } else {
        readColor(lex, *block, word == "Kd" ? "DIFFUSE-COLOR" : "SPECULAR-COLOR");
      }
    }
    if (lex.token().empty() || lex.token().back() != '\n')
      lex.skipLine();
  }
}
