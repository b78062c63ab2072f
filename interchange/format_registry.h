// The format registry: one row per foreign format (description, extension, content sniff, reader,
// writer and the export options its writer wants), the file-type filters of the import and export
// dialogs, dispatch by extension and the classification of dropped file names. Readers and
// writers work on bytes and strings; the registry alone reads and writes files, and it writes
// every file through a temporary file renamed over the target.
#pragma once

#include "interchange/3ds/3ds_format.h"
#include "interchange/geo_to_gx.h"
#include "interchange/gltf/gltf_format.h"
#include "interchange/gx_element.h"
#include "interchange/gx_to_geo.h"
#include "interchange/obj/obj_format.h"
#include "interchange/x/x_format.h"

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a writer produces: the model file's text and the files that go beside it.
struct WrittenModel {
  std::string main;
  std::vector<std::pair<std::string, std::string>> companions; // plain file name, bytes
  // Handed in, for formats that place their textures themselves: the encoded texture files
  // the tree names (plain file name, bytes).
  std::vector<std::pair<std::string, std::string>> textures;
};

struct FormatEntry {
  const char *description; // shown in the dialog filters
  const char *extension;   // with its dot, compared exactly
  // Whether the bytes look like this format (for files whose name does not tell).
  bool (*sniff)(std::string_view bytes);
  // Builds a tree from the bytes, naming companion files through the reader given; null when
  // nothing could be read. Messages go to the stream. Null when the format cannot be read.
  GxElement *(*read)(std::string_view bytes, const CompanionReader &companions,
                     std::ostream &diagnostics);
  // Fills out from the tree for a model file called fileName (no folder); 0 on success. Null
  // when the format cannot be written.
  int (*write)(const GxElement *tree, const std::string &fileName, WrittenModel &out,
               std::ostream &diagnostics);
  ExportOptions options; // what the writer wants from the export converter
  // Whether the writer takes the encoded textures (WrittenModel::textures) into its own output
  // rather than the registry writing them beside the model.
  bool placesTextures = false;
};

// Largest model, material or texture file that is read; larger ones are refused unread.
constexpr uint64_t kMaxModelFileBytes = uint64_t(256) << 20;

// Classes of dropped file names, by their last four characters (case as listed).
enum DroppedFileKind : int {
  kDroppedScene = 0, // ".mvo", ".MVO": the only kind the shell opens
  kDroppedVrml = 1,
  kDroppedObj = 2,
  kDroppedDirectX = 3,
  kDropped3ds = 4,
  kDroppedGx = 5,
  kDroppedDxf = 6,
  kDroppedMd2 = 7,
  kDroppedMon = 8,
  kDroppedOther = 9,
};

class FormatRegistry {
public:
  // The program's formats, registered in their fixed order.
  FormatRegistry();

  const std::vector<FormatEntry> &formats() const { return formats_; }
  // "<description> (*<ext>)|*<ext>|" per format that can be read (or written), then "|".
  std::string readerFilter() const;
  std::string writerFilter() const;
  // The first format with a reader (writer) for this extension (exact comparison), or null.
  const FormatEntry *readerFor(const std::string &extension) const;
  const FormatEntry *writerFor(const std::string &extension) const;
  // The first format with a reader whose sniff accepts the bytes, or null.
  const FormatEntry *readerForContent(std::string_view bytes) const;

  // "." and what follows the last dot of the file name ("." alone when there is none).
  static std::string extensionOf(const std::string &path);
  // The class of a file name (table in DroppedFileKind); names under 5 characters give 9.
  static int classify(const std::string &fileName);

  // Reads the model file at path with the reader for its extension (or, with sniffing, the
  // first whose sniff accepts it) and returns its tree; textures() then loads texture files
  // from the model's folder. Null, with the reason on diagnostics, when there is no reader or
  // the file cannot be read; nothing else changes.
  GxPtr read(const std::string &path, bool sniffing, std::ostream &diagnostics) const;
  // Loads textures a model in the folder of path names: only files inside that folder (no
  // absolute names, nothing that leads out of it) whose name gives an image type and that load.
  TextureLoader textures(const std::string &path) const;
  // Tells, for an export to path, which texture names beside it belong to files the export must
  // not replace: every file in its folder, except those the model file now at path names as its
  // textures (the export replaces that model). Uses this registry, so valid while it is.
  TextureNameCheck takenTextureNames(const std::string &path) const;
  // Writes tree with the writer for path's extension: the model file, its companions and the
  // textures beside it, each replaced atomically. False with a one-line reason in error when
  // there is no writer or a file cannot be written; files written before then stay.
  bool write(const std::string &path, const GxElement &tree,
             const std::vector<ExportTexture> &textures, std::ostream &diagnostics,
             std::string &error) const;

private:
  std::vector<FormatEntry> formats_;
};
