#include "image/image_file.h"

#include "fileio/atomic_file.h"
#include "image/image_codecs.h"

#include <fstream>
#include <iostream>
#include <new>

int imageType(const std::string &fileName) {
  if (fileName.size() < 5)
    return kImageOther;
  const std::string tail = fileName.substr(fileName.size() - 4);
  const auto is = [&](std::initializer_list<const char *> names) {
    for (const char *n : names)
      if (tail == n)
        return true;
    return false;
  };
  if (is({".jpg", ".JPG", "jpeg", "JPEG"}))
    return kImageJpeg;
  if (is({".bmp", ".BMP"}))
    return kImageBmp;
  if (is({".png", ".PNG"}))
    return kImagePng;
  if (is({".tif", ".TIF", "tiff", "TIFf"}))
    return kImageTiff;
  if (is({".ppm", ".PPM"}))
    return kImagePpm;
  if (is({".gif", ".GIF"}))
    return kImageGif;
  return kImageOther;
}

bool readFileBytes(const std::string &path, std::vector<uint8_t> &bytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in)
    return false;
  const std::streamoff size = in.tellg();
  if (size < 0 || uint64_t(size) > kMaxImageFileBytes)
    return false;
  bytes.resize(size_t(size));
  in.seekg(0);
  return bool(in.read(reinterpret_cast<char *>(bytes.data()), size));
}

bool checkImageSize(int64_t width, int64_t height, const std::string &name) {
  if (imageSizeSupported(width, height))
    return true;
  std::cerr << name << ": unsupported image size " << width << " x " << height << "\n";
  return false;
}

namespace {

bool supportedType(int type) { return type >= kImageJpeg && type <= kImageTiff; }

// The message each reader gives for a file it cannot open.
void reportUnopened(int type, const std::string &path) {
  switch (type) {
  case kImageJpeg:
    std::cerr << "Cannot open " << path << "\n";
    break;
  case kImagePpm:
    std::cerr << "Cannot open file " << path << "\n";
    break;
  case kImageBmp:
    std::cerr << "Trouble loading BMP image " << path << "\n";
    break;
  case kImageTiff:
    std::cerr << "Trouble opening tiff file: " << path << "\n";
    break;
  default: // PNG reports nothing
    break;
  }
}

} // namespace

int loadImageFromMemory(ImageBuffer &image, const uint8_t *data, size_t size, int type, bool flag,
                        const std::string &name) {
  static const uint8_t kNothing = 0;
  if (data == nullptr) {
    data = &kNothing;
    size = 0;
  }
  switch (type) {
  case kImageJpeg:
    return readJpeg(image, data, size, name);
  case kImagePpm:
    return readPpm(image, data, size, flag, name);
  case kImageBmp:
    return readBmp(image, data, size, name);
  case kImagePng:
    return readPng(image, data, size, flag, name);
  case kImageTiff:
    return readTiff(image, data, size, name);
  default:
    std::cerr << "Un-supported file type\n";
    return 0;
  }
}

int loadImage(ImageBuffer &image, const std::string &path, int type, bool flag) {
  if (!supportedType(type)) {
    std::cerr << "Un-supported file type\n";
    return 0;
  }
  std::vector<uint8_t> bytes;
  if (!readFileBytes(path, bytes)) {
    reportUnopened(type, path);
    return 0;
  }
  return loadImageFromMemory(image, bytes.data(), bytes.size(), type, flag, path);
}

bool encodeImage(const ImageBuffer &image, int type, RowOrder order, std::string &bytes,
                 std::string &error) {
  switch (type) {
  case kImageJpeg:
    return encodeJpeg(image, bytes, error);
  case kImagePpm:
    return encodePpm(image, order, bytes);
  case kImageBmp:
    return encodeBmp(image, bytes);
  case kImagePng:
    return encodePng(image, order, bytes, error);
  case kImageTiff:
    return encodeTiff(image, order, bytes, error);
  default:
    error = "Un-supported file type";
    return false;
  }
}

int saveImage(const ImageBuffer &image, const std::string &path, int type, RowOrder order,
              std::string &message) {
  if (!supportedType(type)) {
    message = "Un-supported file type";
    return 0;
  }
  if (image.empty()) {
    message = "Cannot save an empty image to " + path;
    return 0;
  }
  std::string bytes, reason;
  try {
    if (!encodeImage(image, type, order, bytes, reason)) {
      message = "Error writing to file " + path + ": " + reason;
      return 0;
    }
  } catch (const std::bad_alloc &) {
    message = "Error writing to file " + path + ": out of memory";
    return 0;
  }
  // The bytes go to a temporary file beside the target, which then replaces it: a failed save
  // leaves the old file as it was and no partial new one.
  switch (writeFileAtomically(path, bytes, reason)) {
  case SaveResult::kSaved:
    return 1;
  case SaveResult::kNotCreated:
    message = (type == kImageJpeg ? "can't open " : "Cannot open file ") + path + ": " + reason;
    return type == kImageJpeg ? -1 : 0;
  default:
    message = "Error writing to file " + path + ": " + reason;
    return 0;
  }
}

int saveImage(const ImageBuffer &image, const std::string &path, int type, RowOrder order) {
  std::string message;
  const int result = saveImage(image, path, type, order, message);
  if (result != 1)
    std::cerr << message << "\n";
  return result;
}
