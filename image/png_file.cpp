// PNG through libpng. libpng reports errors by longjmp: each stretch of library calls that can
// fail sits in its own small function whose frames own nothing, so a jump never skips a C++
// destructor; buffers are allocated between those stretches.
#include "image/image_codecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <png.h>

namespace {

struct PngMessage {
  char text[200] = "";
};

struct PngSource {
  const uint8_t *data;
  size_t size;
  size_t pos;
};

[[noreturn]] void pngError(png_structp png, png_const_charp message) {
  auto *m = static_cast<PngMessage *>(png_get_error_ptr(png));
  std::snprintf(m->text, sizeof m->text, "%s", message);
  png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep out, size_t count) {
  auto *s = static_cast<PngSource *>(png_get_io_ptr(png));
  if (count > s->size - s->pos)
    png_error(png, "file is truncated");
  std::memcpy(out, s->data + s->pos, count);
  s->pos += count;
}

// Reads the header and sets up the conversion of every supported layout to R, G, B, 255.
bool readPngHeader(png_structp png, png_infop info, PngSource *source) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_set_read_fn(png, source, pngRead);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
#endif
  png_read_info(png, info);
  const int colorType = png_get_color_type(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  if (colorType == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
    png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_tRNS_to_alpha(png);
  if (bitDepth == 16)
    png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  // Alpha is composed against the file's background colour, or black when it has none.
  png_color_16p fileBackground = nullptr;
  if (png_get_bKGD(png, info, &fileBackground)) {
    png_set_background(png, fileBackground, PNG_BACKGROUND_GAMMA_FILE, 1, 1.0);
  } else {
    png_color_16 black{};
    png_set_background(png, &black, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
  }
  png_set_filler(png, 0xff, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return true;
}

bool readPngRows(png_structp png, png_infop info, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_read_image(png, rows);
  png_read_end(png, info);
  return true;
}

// Appends what libpng writes to the std::string behind the write pointer.
void pngAppend(png_structp png, png_bytep data, size_t size) {
  bool grown = true;
  try {
    static_cast<std::string *>(png_get_io_ptr(png))->append(reinterpret_cast<char *>(data), size);
  } catch (const std::bad_alloc &) {
    grown = false;
  }
  if (!grown)
    png_error(png, "out of memory");
}

void pngFlush(png_structp) {}

bool writePngRows(png_structp png, png_infop info, std::string *out, const ImageBuffer *image,
                  RowOrder order, png_bytep bytes) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_set_write_fn(png, out, pngAppend, pngFlush);
  png_set_IHDR(png, info, png_uint_32(image->width()), png_uint_32(image->height()), 8,
               PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int32_t i = 0; i < image->height(); ++i) {
    const uint32_t *row = image->row(storedRow(*image, order, i));
    for (int32_t x = 0; x < image->width(); ++x) {
      bytes[4 * x] = redOf(row[x]);
      bytes[4 * x + 1] = greenOf(row[x]);
      bytes[4 * x + 2] = blueOf(row[x]);
      bytes[4 * x + 3] = alphaOf(row[x]);
    }
    png_write_row(png, bytes);
  }
  png_write_end(png, info);
  return true;
}

} // namespace

bool readPng(ImageBuffer &image, const uint8_t *data, size_t size, bool fileOrder,
             const std::string &name) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
    std::cerr << name << ": not a PNG file\n";
    return false;
  }
  PngMessage message;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &message, pngError, pngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  PngSource source{data, size, 0};
  bool ok = info != nullptr && readPngHeader(png, info, &source);
  if (ok) {
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    ok = checkImageSize(width, height, name);
    if (ok && png_get_rowbytes(png, info) != size_t(width) * 4) {
      std::snprintf(message.text, sizeof message.text, "unsupported pixel layout");
      ok = false;
    } else if (ok && !image.reshape(int32_t(width), int32_t(height))) {
      std::snprintf(message.text, sizeof message.text, "out of memory");
      ok = false;
    }
    if (ok) {
      std::vector<png_bytep> rows(height);
      for (png_uint_32 i = 0; i < height; ++i)
        rows[i] = reinterpret_cast<png_bytep>(image.row(fileOrder ? i : height - 1 - i));
      ok = readPngRows(png, info, rows.data());
      // libpng stored R, G, B, A bytes; make them pixel values on any byte order.
      uint32_t *p = image.pixels();
      for (int32_t i = 0; i < image.pixelCount(); ++i) {
        const auto *b = reinterpret_cast<const uint8_t *>(p + i);
        p[i] = packRgba(b[0], b[1], b[2], b[3]);
      }
    }
  }
  if (!ok && message.text[0] != '\0')
    std::cerr << name << ": " << message.text << "\n";
  else if (!ok && info == nullptr)
    std::cerr << name << ": out of memory for the PNG reader\n";
  png_destroy_read_struct(&png, &info, nullptr);
  return ok;
}

bool encodePng(const ImageBuffer &image, RowOrder order, std::string &bytes, std::string &error) {
  std::vector<png_byte> row(size_t(image.width()) * 4);
  PngMessage message;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &message, pngError, pngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bytes.clear();
  const bool ok = info != nullptr && writePngRows(png, info, &bytes, &image, order, row.data());
  png_destroy_write_struct(&png, &info);
  if (!ok)
    error = message.text[0] != '\0' ? message.text : "out of memory for the PNG writer";
  return ok;
}
