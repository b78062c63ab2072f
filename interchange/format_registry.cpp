#include "interchange/format_registry.h"

#include "fileio/atomic_file.h"
#include "fileio/read_file.h"
#include "image/image_file.h"
#include "interchange/gx_build.h"
#include "interchange/vrml/vrml_format.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// The OBJ writer's two files: the model, and its material library named like it.
int writeObjModel(const GxElement *tree, const std::string &fileName, WrittenModel &out,
                  std::ostream &diagnostics) {
  const std::string stem = fileName.size() > 4 ? fileName.substr(0, fileName.size() - 4) : "";
  out.companions.emplace_back(stem + ".mtl", std::string());
  return writeObj(tree, out.companions.back().first, out.main, out.companions.back().second,
                  diagnostics);
}

int writeVrmlModel(const GxElement *tree, const std::string &, WrittenModel &out,
                   std::ostream &diagnostics) {
  return writeVrml(tree, out.main, diagnostics);
}

// VRML wants every option off and PNG textures.
ExportOptions vrmlOptions() {
  ExportOptions options;
  options.textureFormat = kImagePng;
  return options;
}

// glTF holds triangles with their texture coordinates counted from the image's top, and PNG
// textures.
ExportOptions gltfOptions() {
  ExportOptions options;
  options.perTriangle = true;
  options.flipV = true;
  options.textureFormat = kImagePng;
  return options;
}

// Reads a regular file of at most kMaxModelFileBytes.
bool readLimited(const fs::path &path, std::string &bytes, std::string &error) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    error = "not a readable file";
    return false;
  }
  const uintmax_t size = fs::file_size(path, ec);
  if (ec || size > kMaxModelFileBytes) {
    error = ec ? "cannot read its size" : "file too large";
    return false;
  }
  return readWholeFile(path.string(), bytes, error);
}

fs::path folderOf(const std::string &path) {
  const fs::path folder = fs::path(path).parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

// The file a model in folder names, when the name stays inside the folder: relative, with no
// ".." step, and still inside once links are followed. Backslashes count as separators.
bool insideFolder(const fs::path &folder, std::string name, fs::path &resolved) {
  std::replace(name.begin(), name.end(), '\\', '/');
  const fs::path relative(name);
  if (name.empty() || relative.is_absolute() || relative.has_root_name())
    return false;
  for (const fs::path &step : relative)
    if (step == "..")
      return false;
  std::error_code ec;
  const fs::path base = fs::weakly_canonical(folder, ec);
  resolved = fs::weakly_canonical(folder / relative, ec);
  if (ec)
    return false;
  const auto [end, unused] =
      std::mismatch(base.begin(), base.end(), resolved.begin(), resolved.end());
  return end == base.end();
}

bool plainFileName(const std::string &name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string::npos;
}

// The texture file names the materials of a tree name.
std::set<std::string> textureNamesOf(const GxElement &root) {
  std::set<std::string> names;
  for (const GxElement *material : root.children())
    if (material->typeName() == "material")
      for (const GxElement *shading : material->children())
        for (const GxElement *entry : shading->children())
          if (entry->name() == "TEXTURE-MAP")
            if (const GxString *name = stringMember(*entry, "name"))
              names.insert(name->str());
  return names;
}

std::string filter(const std::vector<FormatEntry> &formats, bool readers) {
  std::string text;
  for (const FormatEntry &f : formats)
    if (readers ? f.read != nullptr : f.write != nullptr)
      text += std::string(f.description) + " (*" + f.extension + ")|*" + f.extension + "|";
  return text + "|";
}

} // namespace

// One row per format, in the order the dialogs list them: 3DS, DirectX, VRML 2.0, Wavefront,
// then glTF.
FormatRegistry::FormatRegistry()
    : formats_{
          {"3DS", ".3ds", sniff3ds, read3ds, write3ds,
           ExportOptions{true, false, false, true, true, kImageTiff}},
          {"DirectX", ".x", sniffX, readX, writeX,
           ExportOptions{false, false, true, true, false, kImagePng}},
          {"VRML 2.0", ".wrl", sniffVrml, readVrml, writeVrmlModel, vrmlOptions()},
          {"Wavefront", ".obj", sniffObj, readObj, writeObjModel, ExportOptions{}},
          {"glTF 2.0", ".gltf", sniffGltf, readGltf, writeGltf, gltfOptions(), true},
          {"glTF 2.0 binary", ".glb", sniffGltf, readGltf, writeGlb, gltfOptions(), true},
      } {}

std::string FormatRegistry::readerFilter() const { return filter(formats_, true); }
std::string FormatRegistry::writerFilter() const { return filter(formats_, false); }

const FormatEntry *FormatRegistry::readerFor(const std::string &extension) const {
  for (const FormatEntry &f : formats_)
    if (f.read && extension == f.extension)
      return &f;
  return nullptr;
}

const FormatEntry *FormatRegistry::writerFor(const std::string &extension) const {
  for (const FormatEntry &f : formats_)
    if (f.write && extension == f.extension)
      return &f;
  return nullptr;
}

const FormatEntry *FormatRegistry::readerForContent(std::string_view bytes) const {
  for (const FormatEntry &f : formats_)
    if (f.read && f.sniff && f.sniff(bytes))
      return &f;
  return nullptr;
}

std::string FormatRegistry::extensionOf(const std::string &path) {
  const std::string name = fs::path(path).filename().string();
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? "." : name.substr(dot);
}

int FormatRegistry::classify(const std::string &fileName) {
  static const std::pair<int, const char *> kEndings[] = {
      {kDroppedScene, ".mvo"}, {kDroppedScene, ".MVO"}, {kDroppedGx, ".gx2"},
      {kDroppedGx, ".GX2"},    {kDroppedGx, ".gof"},    {kDroppedGx, ".GOF"},
      {kDroppedObj, ".obj"},   {kDroppedObj, ".OBJ"},   {kDropped3ds, ".3ds"},
      {kDropped3ds, ".3DS"},   {kDroppedDxf, ".dxf"},   {kDroppedDxf, ".DXF"},
      {kDroppedMd2, ".md2"},   {kDroppedMd2, ".MD2"},   {kDroppedVrml, ".wrl"},
      {kDroppedVrml, ".WRL"},  {kDroppedVrml, "vrml"},  {kDroppedVrml, "VRML"},
      {kDroppedMon, ".mon"},   {kDroppedMon, ".MON"}};
  if (fileName.size() < 5)
    return kDroppedOther;
  const std::string last4 = fileName.substr(fileName.size() - 4);
  for (const auto &[kind, ending] : kEndings)
    if (last4 == ending)
      return kind;
  const std::string last2 = fileName.substr(fileName.size() - 2);
  return last2 == ".x" || last2 == ".X" ? kDroppedDirectX : kDroppedOther;
}

GxPtr FormatRegistry::read(const std::string &path, bool sniffing,
                           std::ostream &diagnostics) const {
  std::string bytes, error;
  if (!readLimited(path, bytes, error)) {
    diagnostics << "Error opening file " << path << ": " << error << std::endl;
    return nullptr;
  }
  const FormatEntry *format = readerFor(extensionOf(path));
  if (!format && sniffing)
    format = readerForContent(bytes);
  if (!format) {
    diagnostics << path << ": no reader for this kind of file" << std::endl;
    return nullptr;
  }
  const fs::path folder = folderOf(path);
  const CompanionReader companions = [folder](const std::string &name, std::string &out) {
    fs::path file;
    std::string unused;
    return insideFolder(folder, name, file) && readLimited(file, out, unused);
  };
  return GxPtr(format->read(bytes, companions, diagnostics));
}

TextureLoader FormatRegistry::textures(const std::string &path) const {
  const fs::path folder = folderOf(path);
  return [folder](const std::string &name, ImageBuffer &image) {
    const int type = imageType(name);
    fs::path file;
    std::string bytes, unused;
    if (type < kImageJpeg || type > kImageTiff || !insideFolder(folder, name, file) ||
        !readLimited(file, bytes, unused))
      return false;
    return loadImageFromMemory(image, reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size(),
                               type, type == kImageTiff, name) == 1;
  };
}

TextureNameCheck FormatRegistry::takenTextureNames(const std::string &path) const {
  const fs::path folder = folderOf(path);
  // Read when a name is first found taken: most exports never need it.
  auto own = std::make_shared<std::optional<std::set<std::string>>>();
  return [this, folder, path, own](const std::string &name) {
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(folder / name, ec)))
      return false;
    if (!*own) {
      std::ostringstream ignored;
      const GxPtr old = fs::exists(path, ec) ? read(path, false, ignored) : nullptr;
      *own = old ? textureNamesOf(*old) : std::set<std::string>();
    }
    return (*own)->count(name) == 0;
  };
}

bool FormatRegistry::write(const std::string &path, const GxElement &tree,
                           const std::vector<ExportTexture> &textures, std::ostream &diagnostics,
                           std::string &error) const {
  const FormatEntry *format = writerFor(extensionOf(path));
  if (!format) {
    error = "no writer for " + extensionOf(path);
    return false;
  }
  WrittenModel model;
  if (format->placesTextures)
    for (const ExportTexture &texture : textures) {
      model.textures.emplace_back(texture.fileName, std::string());
      if (!encodeImage(texture.image, texture.type, texture.order, model.textures.back().second,
                       error))
        return false;
    }
  if (format->write(&tree, fs::path(path).filename().string(), model, diagnostics) != 0) {
    error = "the writer failed";
    return false;
  }
  if (writeFileAtomically(path, model.main, error) != SaveResult::kSaved)
    return false;
  const fs::path folder = folderOf(path);
  for (const auto &[name, bytes] : model.companions) {
    if (!plainFileName(name)) {
      error = "refused to write " + name + " outside the model's folder";
      return false;
    }
    if (writeFileAtomically((folder / name).string(), bytes, error) != SaveResult::kSaved)
      return false;
  }
  if (format->placesTextures)
    return true;
  for (const ExportTexture &texture : textures) {
    if (!plainFileName(texture.fileName)) {
      error = "refused to write " + texture.fileName + " outside the model's folder";
      return false;
    }
    const std::string file = (folder / texture.fileName).string();
    if (saveImage(texture.image, file, texture.type, texture.order, error) != 1)
      return false;
  }
  return true;
}
