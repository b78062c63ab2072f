// The 3DS file toolkit's lower half: a ".3ds" file held as a database of chunks. Each chunk has
// a 16-bit identifier, its own bytes and its sub-chunks; the chunks that hold sub-chunks are
// known by identifier, every other chunk is kept as opaque bytes. Loading checks every chunk
// against its parent and the file; writing computes every length.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Chunk identifiers the toolkit knows.
enum ChunkId3ds : uint16_t {
  kChunkMain = 0x4d4d,
  kChunkVersion = 0x0002,
  kChunkColorF = 0x0010,
  kChunkColor24 = 0x0011,
  kChunkLinColor24 = 0x0012,
  kChunkLinColorF = 0x0013,
  kChunkIntPercent = 0x0030,
  kChunkFloatPercent = 0x0031,
  kChunkMasterScale = 0x0100,
  kChunkEditor = 0x3d3d,
  kChunkMeshVersion = 0x3d3e,
  kChunkNamedObject = 0x4000,
  kChunkTriObject = 0x4100,
  kChunkPointArray = 0x4110,
  kChunkFaceArray = 0x4120,
  kChunkMaterialGroup = 0x4130,
  kChunkTexVerts = 0x4140,
  kChunkMeshMatrix = 0x4160,
  kChunkMatName = 0xa000,
  kChunkMatAmbient = 0xa010,
  kChunkMatDiffuse = 0xa020,
  kChunkMatSpecular = 0xa030,
  kChunkMatShininess = 0xa040,
  kChunkMatShinStrength = 0xa041,
  kChunkMatTransparency = 0xa050,
  kChunkMatTexMap = 0xa200,
  kChunkMatMapName = 0xa300,
  kChunkMatEntry = 0xafff,
};

// The toolkit's error codes; ftkErrorText gives each its message.
enum class FtkError {
  kNone,
  kNoMemory,
  kInvalidArg,
  kInvalidData,
  kInvalidChunk,
  kInvalidDatabase,
  kWrongDatabase,
  kUnfoundChunk,
  kWrongObject,
  kNoSuchFile,
  kInitFailed,
  kOpeningFile,
  kClosingFile,
  kReadingFile,
  kCreatingDatabase,
  kReadingDatabase,
  kWritingDatabase,
  kWritingFile,
  kStringTooLong,
  kTooManyFiles,
  kTooManyErrors,
};

// The message of a code ("Unknown error code was encountered" for a value outside the list).
const char *ftkErrorText(FtkError code);

struct Chunk3ds {
  uint16_t id = 0;
  std::string data;               // the chunk's own bytes, before its sub-chunks
  std::vector<Chunk3ds> children; // sub-chunks, in file order
};

// Loads the bytes of a ".3ds" file into db (a main chunk). On failure returns the code and puts
// the reason and the offset into detail; db is then left empty. Chunks shorter than their
// header, running past their parent or the file, nested too deeply or whose own part runs past
// the chunk are failures; bytes after the main chunk are ignored.
FtkError loadDatabase(std::string_view bytes, Chunk3ds &db, std::string &detail);

// The bytes of a database, every length computed.
std::string writeDatabase(const Chunk3ds &db);

// The first child of chunk with this identifier, or null.
const Chunk3ds *findChunk(const Chunk3ds &chunk, uint16_t id);

// Little-endian values read from a chunk's bytes; every read checks that the bytes hold it, and
// a failed read leaves the reader at the end so that every later read fails too.
class ChunkReader {
public:
  explicit ChunkReader(std::string_view bytes) : bytes_(bytes) {}
  bool u16(uint16_t &value);
  bool u32(uint32_t &value);
  bool f32(float &value);
  // A NUL-terminated text.
  bool text(std::string &value);
  // Whether count items of width bytes each are still there.
  bool holds(uint64_t count, uint64_t width) const { return count * width <= bytes_.size() - pos_; }

private:
  bool fail() {
    pos_ = bytes_.size();
    return false;
  }
  std::string_view bytes_;
  size_t pos_ = 0;
};

// Appending little-endian values to a chunk's bytes.
void putU16(std::string &out, uint16_t value);
void putU32(std::string &out, uint32_t value);
void putF32(std::string &out, float value);
void putText(std::string &out, const std::string &text); // with its NUL
