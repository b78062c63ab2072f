// JPEG through libjpeg. The library's fatal errors end in a longjmp: each stretch of library calls
// sits in its own small function whose frames own nothing, so a jump never skips a C++
// destructor; the pixel array is allocated between those stretches.
#include "image/image_codecs.h"

#include <csetjmp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <new>
// jpeglib.h needs FILE and size_t declared first; jerror.h needs jpeglib.h.
#include <jpeglib.h>

#include <jerror.h>

namespace {

// Scans beyond this count mark a crafted progressive file meant to stall the decoder.
constexpr long kMaxScans = 1000;
// Ceiling for the decoder's own working memory (coefficient buffers of progressive files).
constexpr long kMaxDecoderMemory = 512L << 20;

struct JpegError {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool damaged;
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) {
  auto *err = reinterpret_cast<JpegError *>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  std::longjmp(err->jump, 1);
}

// The library goes on after a warning; those that mean lost or garbled picture data (premature
// end, corrupt entropy codes) fail the load once decoding ends, with the first such message.
void jpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level >= 0)
    return;
  auto *err = reinterpret_cast<JpegError *>(cinfo->err);
  switch (cinfo->err->msg_code) {
  case JWRN_JPEG_EOF:
  case JWRN_HIT_MARKER:
  case JWRN_HUFF_BAD_CODE:
  case JWRN_ARITH_BAD_CODE:
  case JWRN_MUST_RESYNC:
  case JWRN_NOT_SEQUENTIAL:
  case JWRN_BOGUS_PROGRESSION:
    if (!err->damaged)
      (*cinfo->err->format_message)(cinfo, err->message);
    err->damaged = true;
    break;
  default:
    break;
  }
  cinfo->err->num_warnings++;
}

void jpegProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    auto *err = reinterpret_cast<JpegError *>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "too many scans");
    std::longjmp(err->jump, 1);
  }
}

void initError(JpegError &err) {
  jpeg_std_error(&err.pub);
  err.pub.error_exit = jpegErrorExit;
  err.pub.emit_message = jpegEmitMessage;
  err.message[0] = '\0';
  err.damaged = false;
}

bool readJpegHeader(jpeg_decompress_struct *cinfo, JpegError *err, jpeg_progress_mgr *progress,
                    const uint8_t *data, size_t size) {
  if (setjmp(err->jump))
    return false;
  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxDecoderMemory;
  progress->progress_monitor = jpegProgress;
  cinfo->progress = progress;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  if (cinfo->num_components == 3)
    cinfo->out_color_space = JCS_RGB;
  return true;
}

// Decodes into `image`, which already has the picture's size: the first file row becomes the
// last memory row.
bool readJpegRows(jpeg_decompress_struct *cinfo, JpegError *err, ImageBuffer *image) {
  if (setjmp(err->jump))
    return false;
  jpeg_start_decompress(cinfo);
  const int components = cinfo->output_components;
  if ((components != 1 && components != 3) || cinfo->output_width != JDIMENSION(image->width()) ||
      cinfo->output_height != JDIMENSION(image->height())) {
    std::snprintf(err->message, sizeof err->message, "unsupported JPEG colour layout");
    return false;
  }
  JSAMPARRAY buffer = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                  JPOOL_IMAGE, cinfo->output_width * components, 1);
  while (cinfo->output_scanline < cinfo->output_height) {
    const int32_t y = image->height() - 1 - int32_t(cinfo->output_scanline);
    jpeg_read_scanlines(cinfo, buffer, 1);
    const JSAMPLE *s = buffer[0];
    uint32_t *row = image->row(y);
    for (int32_t x = 0; x < image->width(); ++x, s += components)
      row[x] = components == 3 ? packRgba(s[0], s[1], s[2]) : packRgba(s[0], s[0], s[0]);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

// A destination that collects the compressed bytes in a std::string.
struct JpegSink {
  jpeg_destination_mgr pub;
  std::string *out;
  JOCTET buffer[65536];
};

void sinkStart(j_compress_ptr cinfo) {
  auto *sink = reinterpret_cast<JpegSink *>(cinfo->dest);
  sink->pub.next_output_byte = sink->buffer;
  sink->pub.free_in_buffer = sizeof sink->buffer;
}

// Moves the first `count` buffered bytes to the string; an allocation failure ends the write
// with the library's own out-of-memory error.
void sinkKeep(j_compress_ptr cinfo, size_t count) {
  auto *sink = reinterpret_cast<JpegSink *>(cinfo->dest);
  bool kept = true;
  try {
    sink->out->append(reinterpret_cast<const char *>(sink->buffer), count);
  } catch (const std::bad_alloc &) {
    kept = false;
  }
  if (!kept)
    ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
}

boolean sinkFull(j_compress_ptr cinfo) {
  auto *sink = reinterpret_cast<JpegSink *>(cinfo->dest);
  sinkKeep(cinfo, sizeof sink->buffer);
  sinkStart(cinfo);
  return TRUE;
}

void sinkEnd(j_compress_ptr cinfo) {
  auto *sink = reinterpret_cast<JpegSink *>(cinfo->dest);
  sinkKeep(cinfo, sizeof sink->buffer - sink->pub.free_in_buffer);
}

bool writeJpegRows(jpeg_compress_struct *cinfo, JpegError *err, JpegSink *sink,
                   const ImageBuffer *image, JSAMPLE *bytes) {
  if (setjmp(err->jump))
    return false;
  jpeg_create_compress(cinfo);
  sink->pub.init_destination = sinkStart;
  sink->pub.empty_output_buffer = sinkFull;
  sink->pub.term_destination = sinkEnd;
  cinfo->dest = &sink->pub;
  cinfo->image_width = JDIMENSION(image->width());
  cinfo->image_height = JDIMENSION(image->height());
  cinfo->input_components = 3;
  cinfo->in_color_space = JCS_RGB;
  jpeg_set_defaults(cinfo);
  jpeg_start_compress(cinfo, TRUE);
  JSAMPROW rows[1] = {bytes};
  while (cinfo->next_scanline < cinfo->image_height) {
    const uint32_t *row =
        image->row(storedRow(*image, RowOrder::kTopFirst, int32_t(cinfo->next_scanline)));
    for (int32_t x = 0; x < image->width(); ++x) {
      bytes[3 * x] = redOf(row[x]);
      bytes[3 * x + 1] = greenOf(row[x]);
      bytes[3 * x + 2] = blueOf(row[x]);
    }
    jpeg_write_scanlines(cinfo, rows, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

} // namespace

bool readJpeg(ImageBuffer &image, const uint8_t *data, size_t size, const std::string &name) {
  // Zeroed, so that destroying after a failed create is safe.
  jpeg_decompress_struct cinfo{};
  jpeg_progress_mgr progress{};
  JpegError err;
  initError(err);
  cinfo.err = &err.pub;
  bool ok = readJpegHeader(&cinfo, &err, &progress, data, size);
  if (ok) {
    ok = checkImageSize(cinfo.image_width, cinfo.image_height, name);
    if (ok && !image.reshape(int32_t(cinfo.image_width), int32_t(cinfo.image_height))) {
      std::snprintf(err.message, sizeof err.message, "out of memory");
      ok = false;
    }
    ok = ok && readJpegRows(&cinfo, &err, &image);
  }
  if (err.damaged)
    ok = false;
  if (!ok && err.message[0] != '\0')
    std::cerr << name << ": " << err.message << "\n";
  jpeg_destroy_decompress(&cinfo);
  return ok;
}

bool encodeJpeg(const ImageBuffer &image, std::string &bytes, std::string &error) {
  std::vector<JSAMPLE> row(size_t(image.width()) * 3);
  jpeg_compress_struct cinfo{};
  JpegError err;
  initError(err);
  cinfo.err = &err.pub;
  auto sink = std::make_unique<JpegSink>();
  sink->out = &bytes;
  bytes.clear();
  const bool ok = writeJpegRows(&cinfo, &err, sink.get(), &image, row.data());
  jpeg_destroy_compress(&cinfo);
  if (!ok)
    error = err.message;
  return ok;
}
