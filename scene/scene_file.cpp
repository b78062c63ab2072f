#include "scene/scene_file.h"

#include "core/mesh_validation.h"
#include "fileio/atomic_file.h"
#include "fileio/read_file.h"
#include "layers/paint_layers.h"

#include <cstring>
#include <stdexcept>
#include <tuple>
#include <utility>

namespace {

constexpr size_t kMagicSize = 10;
const char *const kMagics[] = {"morvo 1.0", "morvo 1.1", "morvo 1.2"};
constexpr int kVersion10 = 0, kVersion11 = 1, kVersion12 = 2;

// A problem that makes the whole file unreadable; its text names the problem.
struct FileDamage : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Bounds-checked big-endian reading of the file's bytes.
class Reader {
public:
  Reader(const std::string &bytes, int version)
      : data_(reinterpret_cast<const uint8_t *>(bytes.data())), size_(bytes.size()),
        wide_(version == kVersion12) {
    pos_ = kMagicSize;
  }

  size_t remaining() const { return size_ - pos_; }
  size_t position() const { return pos_; }
  uint8_t u8() {
    need(1);
    return data_[pos_++];
  }
  int32_t i16() {
    need(2);
    const auto v = int16_t(uint16_t(data_[pos_] << 8 | data_[pos_ + 1]));
    pos_ += 2;
    return v;
  }
  int32_t i32() {
    need(4);
    const uint32_t v = uint32_t(data_[pos_]) << 24 | uint32_t(data_[pos_ + 1]) << 16 |
                       uint32_t(data_[pos_ + 2]) << 8 | data_[pos_ + 3];
    pos_ += 4;
    return int32_t(v);
  }
  // An int of the version's width: 2 bytes, sign-extended, before version 1.2.
  int32_t intW() { return wide_ ? i32() : i16(); }
  int intWidth() const { return wide_ ? 4 : 2; }
  float f32() {
    const uint32_t bits = uint32_t(i32());
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }
  std::string text(size_t n) {
    need(n);
    std::string s(reinterpret_cast<const char *>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  // A count of records of recordSize bytes each: refused when negative or when the rest of the
  // file cannot hold that many, so no allocation trusts a count beyond the file's size.
  int32_t count(const char *what, size_t recordSize) {
    const size_t at = pos_;
    const int32_t n = intW();
    if (n < 0)
      throw FileDamage(std::string("impossible ") + what + " count " + std::to_string(n) +
                       " at byte " + std::to_string(at));
    if (size_t(n) > remaining() / recordSize)
      throw FileDamage("the file ends early: " + std::to_string(n) + " " + what +
                       " records from byte " + std::to_string(pos_) + " need " +
                       std::to_string(uint64_t(n) * recordSize) + " bytes, and only " +
                       std::to_string(remaining()) + " are left");
    return n;
  }

private:
  void need(size_t n) const {
    if (n > size_ - pos_)
      throw FileDamage("the file ends early: " + std::to_string(n) + " more bytes needed at byte " +
                       std::to_string(pos_) + ", and only " + std::to_string(size_ - pos_) +
                       " are left");
  }

  const uint8_t *data_;
  size_t size_;
  size_t pos_;
  bool wide_;
};

class Writer {
public:
  explicit Writer(std::string &out) : out_(out) {}
  void u8(uint8_t v) { out_.push_back(char(v)); }
  void i16(int32_t v) {
    u8(uint8_t(v >> 8));
    u8(uint8_t(v));
  }
  void i32(int32_t v) {
    const auto u = uint32_t(v);
    for (int shift = 24; shift >= 0; shift -= 8)
      u8(uint8_t(u >> shift));
  }
  void f32(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    i32(int32_t(bits));
  }
  void text(const std::string &s) { out_ += s; }
  std::string &bytes() { return out_; }

private:
  std::string &out_;
};

void readPixelRuns(Reader &in, ImageBuffer &image) {
  uint32_t *pixels = image.pixels();
  const int64_t total = image.empty() ? 0 : image.pixelCount();
  for (int64_t filled = 0; filled < total;) {
    const uint8_t n = in.u8();
    const uint8_t r = in.u8(), g = in.u8(), b = in.u8();
    if (n > total - filled)
      throw FileDamage("a pixel run passes the end of the paint image");
    std::fill(pixels + filled, pixels + filled + n, packRgba(r, g, b));
    filled += n;
  }
}

void writePixelRuns(Writer &out, const ImageBuffer &image) {
  const uint32_t *pixels = image.pixels();
  const int64_t total = image.pixelCount();
  // Room for the worst case, one run per pixel, filled in place: byte-wise appends made this
  // the slowest part of writing a painted object.
  std::string &bytes = out.bytes();
  const size_t start = bytes.size();
  bytes.resize(start + 4 * size_t(total));
  char *run = &bytes[start];
  for (int64_t i = 0; i < total;) {
    int64_t n = 1;
    while (n < 255 && i + n < total && pixels[i + n] == pixels[i])
      ++n;
    run[0] = char(n);
    run[1] = char(redOf(pixels[i]));
    run[2] = char(greenOf(pixels[i]));
    run[3] = char(blueOf(pixels[i]));
    run += 4;
    i += n;
  }
  bytes.resize(size_t(run - bytes.data()));
}

std::unique_ptr<PaintLayer> newLayer(PaintLayer::Kind kind, int32_t width, int32_t height,
                                     int32_t elements, const ImageBuffer *pixels = nullptr) {
  auto layer = makePaintLayer(kind, width, height, elements, pixels);
  if (!layer)
    throw FileDamage("paint image of " + std::to_string(width) + " x " + std::to_string(height) +
                     " is too large");
  return layer;
}

void readPaint(Reader &in, moObject &obj) {
  const uint8_t kind = in.u8();
  if (kind == 0 || kind > 4)
    return;
  const int32_t height = in.i16(), width = in.i16();
  const int32_t triangles = obj.triangleVertices.count() / 3;
  if (kind == 1) {
    // Legacy: height x width RGBA pixels as stored, resampled into the power-of-two atlas.
    if (height <= 0 || width <= 0) {
      obj.paintLayer = newLayer(PaintLayer::kAtlas, 0, 0, triangles);
      return;
    }
    if (size_t(height) * size_t(width) > in.remaining() / 4)
      throw FileDamage("the legacy paint image is larger than the file");
    ImageBuffer stored(width, height);
    for (int32_t i = 0; i < stored.pixelCount(); ++i) {
      const uint8_t r = in.u8(), g = in.u8(), b = in.u8(), a = in.u8();
      stored.pixels()[i] = packRgba(r, g, b, a);
    }
    obj.paintLayer = newLayer(PaintLayer::kAtlas, width, height, triangles, &stored);
    return;
  }
  const auto layerKind = PaintLayer::Kind(kind - 2);
  const int32_t elements = layerKind == PaintLayer::kAtlas       ? triangles
                           : layerKind == PaintLayer::kPerVertex ? obj.vertices.count()
                                                                 : obj.triangleVertices.count();
  // Runs cover at most 255 pixels in 4 bytes: refuse an image the rest of the file cannot fill
  // before allocating it.
  const int64_t pixels = int64_t(roundToPowerOfTwo(width)) * roundToPowerOfTwo(height);
  if ((pixels + 254) / 255 * 4 > int64_t(in.remaining()))
    throw FileDamage("the paint image is larger than the file");
  auto layer = newLayer(layerKind, width, height, elements);
  readPixelRuns(in, layer->image);
  if (layerKind != PaintLayer::kAtlas) {
    const int32_t pairs = in.count("texture coordinate", 8);
    if (size_t(pairs) * 2 > layer->coordinates.size())
      throw FileDamage("more texture coordinates than the paint surface holds");
    for (int32_t i = 0; i < 2 * pairs; ++i)
      layer->coordinates[size_t(i)] = in.f32();
  }
  obj.paintLayer = std::move(layer);
}

// Reads one object record and checks it: every reference in range, the mesh locally valid.
ObjectPtr readObject(Reader &in, int version) {
  const int32_t nameLength = in.count("name length", 1);
  auto obj = std::make_shared<moObject>(in.text(size_t(nameLength)).c_str());
  obj->visible = in.u8();
  obj->sensitive = in.u8();
  obj->shaded = in.u8();
  obj->showTexture = in.u8();
  float *material[] = {obj->material.emission, obj->material.aux, obj->material.diffuse,
                       obj->material.specular};
  for (float *colour : material)
    for (int k = 0; k < 4; ++k)
      colour[k] = in.f32();
  obj->material.shininess = in.f32();
  obj->material.creaseAngle = in.f32();

  const int w = in.intWidth();
  const bool hasHard = version >= kVersion11;
  const int32_t edgeCount = in.count("edge", size_t(8 * w + 8 + (hasHard ? 1 : 0)));
  obj->edges.reserve(edgeCount);
  for (int32_t e = 0; e < edgeCount; ++e) {
    moEdge d;
    for (int32_t *field : {&d.Head, &d.Tail, &d.LeftFace, &d.RightFace, &d.BackWing, &d.ForeWing,
                           &d.ccwBackWing, &d.ccwForeWing})
      *field = in.intW();
    d.hard = hasHard ? in.u8() : 0;
    for (moColor *c : {&d.rightColor, &d.leftColor}) {
      c->r = in.u8();
      c->g = in.u8();
      c->b = in.u8();
      c->a = in.u8();
    }
    obj->edges.append(d);
  }
  const int32_t faceCount = in.count("face", size_t(w));
  if (faceCount > kMaxFaceSlots)
    throw FileDamage("an object has more than " + std::to_string(kMaxFaceSlots) + " faces");
  obj->faces.reserve(faceCount);
  for (int32_t f = 0; f < faceCount; ++f)
    obj->faces.append(moFace{in.intW()});
  const int32_t vertexCount = in.count("vertex", size_t(w + 12));
  obj->vertices.reserve(vertexCount);
  for (int32_t v = 0; v < vertexCount; ++v) {
    moVertex vertex;
    vertex.EdgeIndex = in.intW();
    vertex.Coordinates.x = in.f32();
    vertex.Coordinates.y = in.f32();
    vertex.Coordinates.z = in.f32();
    obj->vertices.append(vertex);
  }
  for (auto [list, what, limit] :
       {std::make_tuple(&obj->triangleVertices, "paint triangle vertex", vertexCount),
        std::make_tuple(&obj->triangleFaces, "paint triangle face", faceCount)}) {
    const int32_t n = in.count(what, size_t(w));
    list->reserve(n);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t index = in.intW();
      if (index < 0 || index >= limit)
        throw FileDamage(std::string(what) + " index " + std::to_string(index) +
                         " is out of range");
      list->append(index);
    }
  }
  if (obj->triangleVertices.count() % 3 != 0 ||
      obj->triangleFaces.count() != obj->triangleVertices.count() / 3)
    throw FileDamage("the paint triangle lists do not match");
  readPaint(in, *obj);
  if (!objectLocallyValid(*obj, false))
    throw FileDamage("the mesh of object \"" + obj->name + "\" is inconsistent");
  return obj;
}

bool dense(const moObject &obj) {
  const auto allActive = [](const auto &elements) {
    for (const auto &element : elements)
      if (!element.active())
        return false;
    return true;
  };
  return allActive(obj.edges) && allActive(obj.faces) && allActive(obj.vertices);
}

void writeObject(Writer &out, const moObject &obj) {
  out.i32(int32_t(obj.name.size()));
  out.text(obj.name);
  for (uint8_t flag : {obj.visible, obj.sensitive, obj.shaded, obj.showTexture})
    out.u8(flag);
  for (const float *colour :
       {obj.material.emission, obj.material.aux, obj.material.diffuse, obj.material.specular})
    for (int k = 0; k < 4; ++k)
      out.f32(colour[k]);
  out.f32(obj.material.shininess);
  out.f32(obj.material.creaseAngle);
  out.i32(obj.edges.count());
  for (const moEdge &d : obj.edges) {
    for (int32_t field : {d.Head, d.Tail, d.LeftFace, d.RightFace, d.BackWing, d.ForeWing,
                          d.ccwBackWing, d.ccwForeWing})
      out.i32(field);
    out.u8(d.hard);
    for (const moColor &c : {d.rightColor, d.leftColor}) {
      out.u8(c.r);
      out.u8(c.g);
      out.u8(c.b);
      out.u8(c.a);
    }
  }
  out.i32(obj.faces.count());
  for (const moFace &f : obj.faces)
    out.i32(f.EdgeIndex);
  out.i32(obj.vertices.count());
  for (const moVertex &v : obj.vertices) {
    out.i32(v.EdgeIndex);
    out.f32(v.Coordinates.x);
    out.f32(v.Coordinates.y);
    out.f32(v.Coordinates.z);
  }
  for (const moArray<int32_t> *list : {&obj.triangleVertices, &obj.triangleFaces}) {
    out.i32(list->count());
    for (int32_t index : *list)
      out.i32(index);
  }
  const PaintLayer *layer = obj.paintLayer.get();
  if (!layer) {
    out.u8(0);
    return;
  }
  out.u8(uint8_t(layer->kind() + 2));
  if (layer->image.empty()) {
    out.i16(0);
    out.i16(0);
  } else {
    out.i16(layer->image.height());
    out.i16(layer->image.width());
    writePixelRuns(out, layer->image);
  }
  if (layer->kind() != PaintLayer::kAtlas) {
    out.i32(int32_t(layer->coordinates.size() / 2));
    for (float c : layer->coordinates)
      out.f32(c);
  }
}

} // namespace

bool readScene(Scene &scene, const std::string &bytes, bool replace) {
  int version = -1;
  for (int v = kVersion10; v <= kVersion12; ++v)
    if (bytes.size() >= kMagicSize && std::memcmp(bytes.data(), kMagics[v], kMagicSize) == 0)
      version = v;
  if (version < 0) {
    scene.ui().messageBox("attempting to read unknown format");
    return false;
  }
  std::vector<std::pair<int32_t, ObjectPtr>> read;
  size_t unread = 0;
  try {
    Reader in(bytes, version);
    const int32_t slots = in.count("slot", 1);
    for (int32_t i = 0; i < slots; ++i) {
      if (in.u8() == 0)
        continue;
      try {
        read.emplace_back(i, readObject(in, version));
      } catch (const FileDamage &damage) {
        throw FileDamage("object in slot " + std::to_string(i) + ": " + damage.what());
      }
    }
    unread = in.remaining();
  } catch (const FileDamage &damage) {
    scene.ui().messageBox(std::string("This scene file is damaged and was not opened: ") +
                          damage.what());
    return false;
  }
  int32_t base = 0;
  if (replace) {
    scene.clearSelection();
    scene.previousSelection.Clear();
    scene.objects.clear(false);
  } else {
    base = scene.objects.count();
  }
  for (auto &[slot, obj] : read)
    scene.objects.place(base + slot, std::move(obj));
  scene.markChanged();
  // More bytes than the slot count covers: objects the count leaves out would be lost by the
  // next save without a word.
  if (unread > 0)
    scene.ui().messageBox("This scene file has " + std::to_string(unread) +
                          " bytes after its last object, which were not read: saving the scene "
                          "will not keep them.");
  return true;
}

bool writeScene(Scene &scene, std::string &bytes, bool selectedOnly) {
  if (selectedOnly && scene.mode != moOBJECTS) {
    scene.ui().messageBox("you must have an object selected");
    return false;
  }
  bytes.assign(kMagics[kVersion12], kMagicSize);
  Writer out(bytes);
  std::vector<moObject *> chosen;
  if (selectedOnly) {
    for (int32_t i = 0; i < scene.selection.Count(); ++i)
      if (moObject *obj = scene.object(scene.selection.Get(i).object))
        chosen.push_back(obj);
  } else {
    for (int32_t i = 0; i < scene.objects.count(); ++i)
      chosen.push_back(scene.object(i));
  }
  out.i32(int32_t(chosen.size()));
  for (moObject *obj : chosen) {
    if (!obj) {
      out.u8(0);
      continue;
    }
    obj->compact();
    out.u8(1);
    writeObject(out, *obj);
  }
  scene.clearSelection();
  return true;
}

SceneFileWriter::SceneFileWriter(const Scene &scene)
    : version_(scene.version()), slots_(scene.objects.count()) {
  parts_.emplace_back(kMagics[kVersion12], kMagicSize);
  Writer(parts_.back()).i32(slots_);
}

bool SceneFileWriter::writeNext(const Scene &scene) {
  if (finished())
    return false;
  // Each object in bytes of its own: growing one string of tens of megabytes would now and
  // then copy all of it, and that step would take several frames.
  parts_.emplace_back();
  Writer out(parts_.back());
  const moObject *obj = scene.object(next_++);
  if (!obj) {
    out.u8(0);
  } else if (dense(*obj)) {
    out.u8(1);
    writeObject(out, *obj);
  } else {
    moObject copy(*obj);
    copy.compact();
    out.u8(1);
    writeObject(out, copy);
  }
  return !finished();
}

std::string SceneFileWriter::join(std::vector<std::string> parts) {
  size_t size = 0;
  for (const std::string &part : parts)
    size += part.size();
  std::string bytes;
  bytes.reserve(size);
  for (std::string &part : parts) {
    bytes += part;
    std::string().swap(part); // given back as it is copied
  }
  return bytes;
}

bool openSceneFile(Scene &scene, const std::string &path, bool replace) {
  std::string bytes, error;
  if (!readWholeFile(path, bytes, error)) {
    scene.ui().messageBox("Could not open " + path + ": " + error);
    return false;
  }
  return readScene(scene, bytes, replace);
}

bool saveSceneFile(Scene &scene, const std::string &path, bool selectedOnly) {
  std::string bytes, error;
  if (!writeScene(scene, bytes, selectedOnly))
    return false;
  if (writeFileAtomically(path, bytes, error) != SaveResult::kSaved) {
    scene.ui().messageBox("Could not save " + path + ": " + error);
    return false;
  }
  return true;
}
