#include "interchange/3ds/chunk_database.h"

#include <cstring>

namespace {

constexpr size_t kHeaderBytes = 6;
// Chunks nested deeper than this are refused: loading descends one stack frame per level.
constexpr int kMaxDepth = 16;
// More chunks than this are refused: each costs far more memory than its six header bytes.
constexpr size_t kMaxChunks = size_t(1) << 20;

struct Failure {
  FtkError code;
  std::string detail;
};

bool isContainer(uint16_t id) {
  switch (id) {
  case kChunkMain:
  case kChunkEditor:
  case kChunkTriObject:
  case kChunkMatEntry:
  case kChunkMatAmbient:
  case kChunkMatDiffuse:
  case kChunkMatSpecular:
  case kChunkMatShininess:
  case kChunkMatShinStrength:
  case kChunkMatTransparency:
  case kChunkMatTexMap:
    return true;
  default:
    return false;
  }
}

// How many of a chunk's bytes are its own, before its sub-chunks; npos when they do not fit.
size_t ownBytes(uint16_t id, std::string_view payload) {
  if (isContainer(id))
    return 0;
  if (id == kChunkNamedObject) { // the object's name, then its sub-chunks
    const size_t nul = payload.find('\0');
    return nul == std::string_view::npos ? std::string_view::npos : nul + 1;
  }
  if (id == kChunkFaceArray) { // the faces, then the material groups
    ChunkReader reader(payload);
    uint16_t count = 0;
    return reader.u16(count) && reader.holds(count, 8) ? 2 + size_t(count) * 8
                                                       : std::string_view::npos;
  }
  return payload.size();
}

struct Loader {
  size_t loaded = 0;
  size_t one(std::string_view bytes, size_t base, int depth, Chunk3ds &chunk);
  void all(std::string_view bytes, size_t base, int depth, std::vector<Chunk3ds> &out);
};

// Loads the chunk at the start of bytes (which is what its parent has left); returns its length.
size_t Loader::one(std::string_view bytes, size_t base, int depth, Chunk3ds &chunk) {
  if (++loaded > kMaxChunks)
    throw Failure{FtkError::kInvalidDatabase, "too many chunks"};
  ChunkReader header(bytes);
  uint32_t length = 0;
  const std::string where = " at byte " + std::to_string(base);
  if (!header.u16(chunk.id) || !header.u32(length))
    throw Failure{FtkError::kInvalidChunk, "a chunk header cut short" + where};
  if (length < kHeaderBytes)
    throw Failure{FtkError::kInvalidChunk, "a chunk shorter than its header" + where};
  if (length > bytes.size())
    throw Failure{FtkError::kInvalidChunk, "a chunk running past its parent" + where};
  const std::string_view payload = bytes.substr(kHeaderBytes, length - kHeaderBytes);
  const size_t own = ownBytes(chunk.id, payload);
  if (own == std::string_view::npos)
    throw Failure{FtkError::kInvalidData, "a chunk's data running past its end" + where};
  chunk.data.assign(payload.substr(0, own));
  if (own < payload.size() || isContainer(chunk.id))
    all(payload.substr(own), base + kHeaderBytes + own, depth + 1, chunk.children);
  return length;
}

void Loader::all(std::string_view bytes, size_t base, int depth, std::vector<Chunk3ds> &out) {
  if (depth > kMaxDepth)
    throw Failure{FtkError::kInvalidDatabase,
                  "chunks nested too deeply at byte " + std::to_string(base)};
  // Every chunk takes at least its header, so the walk always moves on and ends.
  for (size_t pos = 0; pos < bytes.size();) {
    out.emplace_back();
    pos += one(bytes.substr(pos), base + pos, depth, out.back());
  }
}

void writeChunk(const Chunk3ds &chunk, std::string &out) {
  const size_t start = out.size();
  putU16(out, chunk.id);
  putU32(out, 0); // the length, once known
  out += chunk.data;
  for (const Chunk3ds &child : chunk.children)
    writeChunk(child, out);
  std::string length;
  putU32(length, uint32_t(out.size() - start));
  out.replace(start + 2, 4, length);
}

} // namespace

const char *ftkErrorText(FtkError code) {
  static const char *const kTexts[] = {
      "NO_FTK_ERRORS: No errors are pending",
      "ERR_NO_MEM: Not enough memory to complete operation",
      "ERR_INVALID_ARG: An argument was not valid",
      "ERR_INVALID_DATA: The data of a chunk is not valid",
      "ERR_INVALID_CHUNK: A chunk is not valid",
      "ERR_INVALID_DATABASE: The database is not valid",
      "ERR_WRONG_DATABASE: The database is not a 3D Studio mesh file",
      "ERR_UNFOUND_CHUNK: A chunk that must be there is missing",
      "ERR_WRONG_OBJECT: The object is not of the kind asked for",
      "ERR_NO_SUCH_FILE: The file does not exist",
      "ERR_INIT_FAILED: The toolkit could not be initialised",
      "ERR_OPENING_FILE: Could not open requested file",
      "ERR_CLOSING_FILE: Could not close requested file",
      "ERR_READING_FILE: Error occured while reading file",
      "ERR_CREATING_DATABASE: Error occured while creating database",
      "ERR_READING_DATABASE: Error occured while reading database",
      "ERR_WRITING_DATABASE: Error occured while writing database",
      "ERR_WRITING_FILE: Error occured while writing file",
      "ERR_STRING_TOO_LONG: A name is longer than the file allows",
      "ERR_TOO_MANY_FILES: The toolkit has reached its maximum open file limit of 252 files.",
      "N_ERRORS: More errors were reported then could be recorded.",
  };
  const size_t index = size_t(code);
  return index < sizeof kTexts / sizeof *kTexts ? kTexts[index]
                                                : "Unknown error code was encountered";
}

FtkError loadDatabase(std::string_view bytes, Chunk3ds &db, std::string &detail) {
  db = Chunk3ds();
  try {
    ChunkReader reader(bytes);
    uint16_t id = 0;
    if (!reader.u16(id) || id != kChunkMain) {
      detail = "the file does not start with a 3DS main chunk";
      return FtkError::kWrongDatabase;
    }
    Loader().one(bytes, 0, 0, db);
    return FtkError::kNone;
  } catch (const Failure &failure) {
    db = Chunk3ds();
    detail = failure.detail;
    return failure.code;
  } catch (const std::bad_alloc &) {
    db = Chunk3ds();
    detail = "loading the database";
    return FtkError::kNoMemory;
  }
}

std::string writeDatabase(const Chunk3ds &db) {
  std::string out;
  writeChunk(db, out);
  return out;
}

const Chunk3ds *findChunk(const Chunk3ds &chunk, uint16_t id) {
  for (const Chunk3ds &child : chunk.children)
    if (child.id == id)
      return &child;
  return nullptr;
}

bool ChunkReader::u16(uint16_t &value) {
  if (!holds(1, 2))
    return fail();
  const auto *p = reinterpret_cast<const unsigned char *>(bytes_.data() + pos_);
  value = uint16_t(p[0] | p[1] << 8);
  pos_ += 2;
  return true;
}

bool ChunkReader::u32(uint32_t &value) {
  if (!holds(1, 4))
    return fail();
  const auto *p = reinterpret_cast<const unsigned char *>(bytes_.data() + pos_);
  value = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  pos_ += 4;
  return true;
}

bool ChunkReader::f32(float &value) {
  uint32_t bits = 0;
  if (!u32(bits))
    return false;
  std::memcpy(&value, &bits, 4);
  return true;
}

bool ChunkReader::text(std::string &value) {
  const size_t nul = bytes_.find('\0', pos_);
  if (nul == std::string_view::npos)
    return fail();
  value.assign(bytes_.substr(pos_, nul - pos_));
  pos_ = nul + 1;
  return true;
}

void putU16(std::string &out, uint16_t value) {
  out += char(value & 0xff);
  out += char(value >> 8);
}

void putU32(std::string &out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += char((value >> shift) & 0xff);
}

void putF32(std::string &out, float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, 4);
  putU32(out, bits);
}

void putText(std::string &out, const std::string &text) {
  out += text.substr(0, text.find('\0'));
  out += '\0';
}
