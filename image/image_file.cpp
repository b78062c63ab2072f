#include "image/image_file.h"

#include "fileio/atomic_file.h"

#include <filesystem>

#include "image/image_codecs.h"

#include <fstream>
#include <iostream>

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

int reportWrite(bool ok, const std::string &path, const std::string &detail) {
  if (ok)
    return 1;
  std::cerr << "Error writing to file " << path << (detail.empty() ? "" : ": " + detail) << "\n";
  return 0;
}

int finishWrite(std::FILE *file, bool ok, const std::string &path, const std::string &detail) {
  const bool failed = std::ferror(file) != 0;
  if (std::fclose(file) != 0 || failed)
    ok = false;
  return reportWrite(ok, path, detail);
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

int saveImage(const ImageBuffer &image, const std::string &path, int type, bool flag) {
  if (!supportedType(type)) {
    std::cerr << "Un-supported file type\n";
    return 0;
  }
  if (image.empty()) {
    std::cerr << "Cannot save an empty image to " << path << "\n";
    return 0;
  }
  const auto write = [&](const std::string &target) {
    switch (type) {
    case kImageJpeg:
      return writeJpeg(image, target);
    case kImagePpm:
      return writePpm(image, target, flag);
    case kImageBmp:
      return writeBmp(image, target);
    case kImagePng:
      return writePng(image, target, flag);
    default:
      return writeTiff(image, target, flag);
    }
  };
  // The writer fills a temporary file beside the target, which then replaces it: a failed save
  // leaves the old file as it was.
  int result = -2; // the writer's result; -2 while it has not run
  std::string error;
  if (replaceFile(
          path, [&](const std::string &temp) { return (result = write(temp)) == 1; }, error))
    return 1;
  if (result == -2 && !std::filesystem::exists(path))
    return write(path); // no temporary file there: the writer tells why in its own words
  if (result == 1 || result == -2) {
    std::cerr << "Could not save " << path << ": " << error << "\n";
    return 0;
  }
  return result;
}
