// The general VRML 2.0 parser ("Reference VRML Parser 2.0"): reads the nodes of a file into the
// node model of vrml_nodes.h. It executes and fetches nothing: prototypes (PROTO, EXTERNPROTO)
// are skipped with a message, routes are skipped, scripts and inline files are read as plain
// nodes whose fields nobody follows.
#pragma once

#include "interchange/vrml/vrml_nodes.h"

#include <ostream>
#include <string_view>
#include <vector>

// The name the parser gives itself in its first message of every read.
constexpr const char *kVrmlParserName = "Reference VRML Parser 2.0";
// Nodes may hold nodes this many levels deep, counting what USE brings in; deeper files are
// refused, so that neither the parser nor anything walking its nodes recurses further.
constexpr int32_t kVrmlMaxDepth = 256;
// Files with more nodes than this are refused, which bounds the memory the nodes take.
constexpr int64_t kVrmlMaxNodes = int64_t(1) << 20;

// Parses text (the whole file, starting with its "#VRML V2.0" header line) into its top-level
// nodes. Problems inside a node that the parser can step over (an unknown node type, an unknown
// field, a USE of an undefined name, a bad boolean) are reported on diagnostics and parsing goes
// on. Problems it cannot step over (a missing header, an unterminated string or block, a value
// that is not a usable number, nesting past kVrmlMaxDepth, more than kVrmlMaxNodes nodes) are
// reported and end the parse: the
// result is then false and nodes is empty. A USE can only name a node whose definition is
// complete, so the nodes never form a cycle.
bool parseVrml(std::string_view text, std::vector<moNodePtr> &nodes, std::ostream &diagnostics);
