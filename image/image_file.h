// Image files: the type of a file from its name, and loading and saving an ImageBuffer as JPEG,
// PPM, BMP, PNG or TIFF. Every problem is reported on std::cerr and through the result; nothing
// here throws, and no file content can make a reader allocate beyond the limits of
// image_buffer.h.
#pragma once

#include "image/image_buffer.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Image type codes, shared with the texture image format of exported models.
enum ImageType : int {
  kImageJpeg = 0,
  kImagePpm = 1,
  kImageBmp = 2,
  kImagePng = 3,
  kImageTiff = 4,
  kImageGif = 5, // recognised by name, cannot be loaded
  kImageOther = 7,
};

// The type code of a file from the last four characters of its name (exact case variants
// ".jpg"/".JPG"/"jpeg"/"JPEG", ".ppm"/".PPM", ".bmp"/".BMP", ".png"/".PNG",
// ".tif"/".TIF"/"tiff"/"TIFf", ".gif"/".GIF"); names shorter than 5 characters give kImageOther.
int imageType(const std::string &fileName);

// Loads the file at `path` of type `type` into `image`: 1 on success, 0 on failure. `flag`
// selects the row order of the PNG reader (set: file order) and the PPM reader (set: first file
// row becomes the last memory row); the other readers put the picture's bottom row in row 0. The
// pixel array is kept when the file has the buffer's size. On failure the buffer keeps its
// previous pixels or holds a partly read image.
int loadImage(ImageBuffer &image, const std::string &path, int type, bool flag);

// As loadImage, from `size` bytes at `data`; `name` labels the messages.
int loadImageFromMemory(ImageBuffer &image, const uint8_t *data, size_t size, int type, bool flag,
                        const std::string &name);

// The order in which the PPM, PNG and TIFF writers store rows: the picture's top row (the last
// memory row) first, as image files usually hold it, or memory row 0 (the picture's bottom)
// first, which stores the picture upside down. JPEG and BMP files always hold it upright.
enum class RowOrder { kTopFirst, kBottomFirst };

// Saves `image` to `path` as type `type` with its rows in `order`: 1 on success, 0 on failure,
// -1 when a JPEG file cannot be created. The file is encoded in memory, written beside the target
// and renamed over it: a failed save leaves the old file (or no file) as it was, and prints one
// line on std::cerr naming `path` and the reason.
int saveImage(const ImageBuffer &image, const std::string &path, int type, RowOrder order);
// As above, printing nothing: on failure `message` holds the line that would be printed.
int saveImage(const ImageBuffer &image, const std::string &path, int type, RowOrder order,
              std::string &message);

// The bytes of an image file of type `type` (JPEG, PPM, BMP, PNG or TIFF) holding `image` with its
// rows in `order`, for files that carry images inside them. False with a one-line reason in
// `error` for another type or when the encoder fails.
bool encodeImage(const ImageBuffer &image, int type, RowOrder order, std::string &bytes,
                 std::string &error);
