// TIFF through libtiff: any layout the library's RGBA interface converts is read; files are
// written as uncompressed 8-bit RGBA, one row per strip. Library messages come through handlers
// of our own, never the global ones.
#include "image/image_codecs.h"

#include <algorithm>
#include <cstring>
#include <iostream>
#include <new>
#include <tiffio.h>

namespace {

// libtiff's own allocations (strips, tiles, directories) stay within the size of the largest
// supported image.
constexpr tmsize_t kMaxTiffAllocation = tmsize_t(kMaxImagePixels) * 4;

struct TiffMessages {
  std::string error; // the first error
};

int tiffError(TIFF *, void *user, const char *module, const char *format, va_list args) {
  auto *m = static_cast<TiffMessages *>(user);
  if (m != nullptr && m->error.empty()) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    m->error = module != nullptr ? std::string(module) + ": " + text : std::string(text);
  }
  return 1;
}

int tiffWarning(TIFF *, void *, const char *, const char *, va_list) { return 1; }

struct TiffSource {
  const uint8_t *data;
  toff_t size;
  toff_t pos;
};

tmsize_t tiffRead(thandle_t h, void *out, tmsize_t count) {
  auto *s = static_cast<TiffSource *>(h);
  if (count < 0)
    return -1;
  const toff_t n = std::min<toff_t>(toff_t(count), s->size - s->pos);
  std::memcpy(out, s->data + s->pos, size_t(n));
  s->pos += n;
  return tmsize_t(n);
}

tmsize_t tiffWrite(thandle_t, void *, tmsize_t) { return -1; }

toff_t tiffSeek(thandle_t h, toff_t offset, int whence) {
  auto *s = static_cast<TiffSource *>(h);
  toff_t base = 0;
  if (whence == SEEK_CUR)
    base = s->pos;
  else if (whence == SEEK_END)
    base = s->size;
  // Offsets are unsigned; anything past the end is clamped there, so reads come back short.
  const toff_t target = offset > s->size - base ? s->size : base + offset;
  s->pos = target;
  return target;
}

int tiffClose(thandle_t) { return 0; }

toff_t tiffSize(thandle_t h) { return static_cast<TiffSource *>(h)->size; }

int tiffMap(thandle_t h, void **base, toff_t *size) {
  auto *s = static_cast<TiffSource *>(h);
  *base = const_cast<uint8_t *>(s->data);
  *size = s->size;
  return 1;
}

void tiffUnmap(thandle_t, void *, toff_t) {}

// The file being written, held in memory: libtiff seeks back to finish its directory.
struct TiffSink {
  std::string bytes;
  toff_t pos = 0;
};

tmsize_t sinkRead(thandle_t h, void *out, tmsize_t count) {
  auto *s = static_cast<TiffSink *>(h);
  if (count < 0 || s->pos > s->bytes.size())
    return count < 0 ? -1 : 0;
  const size_t n = std::min(size_t(count), size_t(s->bytes.size() - s->pos));
  std::memcpy(out, s->bytes.data() + s->pos, n);
  s->pos += n;
  return tmsize_t(n);
}

tmsize_t sinkWrite(thandle_t h, void *data, tmsize_t count) {
  auto *s = static_cast<TiffSink *>(h);
  if (count < 0 || s->pos + uint64_t(count) > 2 * kMaxImageFileBytes)
    return -1;
  try {
    if (s->pos + size_t(count) > s->bytes.size())
      s->bytes.resize(size_t(s->pos) + size_t(count));
  } catch (const std::bad_alloc &) {
    return -1;
  }
  std::memcpy(&s->bytes[size_t(s->pos)], data, size_t(count));
  s->pos += toff_t(count);
  return count;
}

toff_t sinkSeek(thandle_t h, toff_t offset, int whence) {
  auto *s = static_cast<TiffSink *>(h);
  const toff_t base = whence == SEEK_CUR ? s->pos : whence == SEEK_END ? s->bytes.size() : 0;
  s->pos = base + offset;
  return s->pos;
}

toff_t sinkSize(thandle_t h) { return static_cast<TiffSink *>(h)->bytes.size(); }

int sinkMap(thandle_t, void **, toff_t *) { return 0; }

// Open options with our handlers and the allocation ceiling; freed with TIFFOpenOptionsFree.
TIFFOpenOptions *makeOptions(TiffMessages *messages) {
  TIFFOpenOptions *options = TIFFOpenOptionsAlloc();
  if (options != nullptr) {
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxTiffAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, tiffError, messages);
    TIFFOpenOptionsSetWarningHandlerExtR(options, tiffWarning, nullptr);
  }
  return options;
}

// The RGBA reader multiplies the colours by an unassociated alpha sample; as every pixel is
// made opaque afterwards, that would darken translucent pixels for good. Declaring such samples
// unspecified makes the reader take the colours as stored.
void keepStoredColours(TIFF *tif) {
  uint16_t count = 0;
  const uint16_t *kinds = nullptr;
  if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &count, &kinds) != 1 || count == 0 || count > 8)
    return;
  uint16_t unspecified[8];
  bool changed = false;
  for (uint16_t i = 0; i < count; ++i) {
    changed = changed || kinds[i] == EXTRASAMPLE_UNASSALPHA;
    unspecified[i] = kinds[i] == EXTRASAMPLE_UNASSALPHA ? EXTRASAMPLE_UNSPECIFIED : kinds[i];
  }
  if (changed)
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, count, unspecified);
}

} // namespace

bool readTiff(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name) {
  TiffMessages messages;
  TIFFOpenOptions *options = makeOptions(&messages);
  TiffSource source{data, toff_t(size), 0};
  TIFF *tif = options == nullptr
                  ? nullptr
                  : TIFFClientOpenExt(name.c_str(), "r", &source, tiffRead, tiffWrite, tiffSeek,
                                      tiffClose, tiffSize, tiffMap, tiffUnmap, options);
  TIFFOpenOptionsFree(options);
  if (tif == nullptr) {
    std::cerr << "Trouble opening tiff file: " << name << "\n";
    return false;
  }
  uint32_t width = 0, height = 0;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  bool ok = checkImageSize(width, height, name);
  keepStoredColours(tif);
  char problem[1024] = "";
  if (ok && !TIFFRGBAImageOK(tif, problem)) {
    std::cerr << name << ": " << problem << "\n";
    ok = false;
  }
  if (ok && !image.reshape(int32_t(width), int32_t(height))) {
    std::cerr << name << ": out of memory\n";
    ok = false;
  }
  // The raster comes back with row 0 at the bottom, each value packed with red lowest.
  if (ok &&
      !TIFFReadRGBAImageOriented(tif, width, height, image.pixels(), ORIENTATION_BOTLEFT, 1)) {
    std::cerr << name << ": "
              << (messages.error.empty() ? "cannot convert the image" : messages.error) << "\n";
    ok = false;
  }
  if (ok) {
    uint32_t *p = image.pixels();
    for (int32_t i = 0; i < image.pixelCount(); ++i)
      p[i] |= 0xff000000u;
  }
  TIFFClose(tif);
  return ok;
}

bool encodeTiff(const ImageBuffer &image, RowOrder order, std::string &bytes, std::string &error) {
  TiffMessages messages;
  TIFFOpenOptions *options = makeOptions(&messages);
  TiffSink sink;
  TIFF *tif = options == nullptr
                  ? nullptr
                  : TIFFClientOpenExt("image", "wb", &sink, sinkRead, sinkWrite, sinkSeek,
                                      tiffClose, sinkSize, sinkMap, tiffUnmap, options);
  TIFFOpenOptionsFree(options);
  if (tif == nullptr) {
    error = messages.error.empty() ? "cannot start the TIFF writer" : messages.error;
    return false;
  }
  const uint16_t extra[1] = {EXTRASAMPLE_UNASSALPHA};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(image.width()));
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(image.height()));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
  // The fourth sample is declared as alpha, as a four-sample RGB image has to be.
  TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
  std::vector<uint8_t> samples(size_t(image.width()) * 4);
  bool ok = true;
  for (int32_t i = 0; i < image.height() && ok; ++i) {
    const uint32_t *row = image.row(storedRow(image, order, i));
    for (int32_t x = 0; x < image.width(); ++x) {
      samples[4 * size_t(x)] = redOf(row[x]);
      samples[4 * size_t(x) + 1] = greenOf(row[x]);
      samples[4 * size_t(x) + 2] = blueOf(row[x]);
      samples[4 * size_t(x) + 3] = alphaOf(row[x]);
    }
    ok = TIFFWriteScanline(tif, samples.data(), uint32_t(i), 0) == 1;
  }
  ok = TIFFFlush(tif) == 1 && ok;
  TIFFClose(tif);
  if (!ok)
    error = messages.error.empty() ? "cannot write the TIFF data" : messages.error;
  bytes = std::move(sink.bytes);
  return ok;
}
