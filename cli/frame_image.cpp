#include "cli/frame_image.h"

#include "image/image_file.h"
#include "view/frame.h"
#include "view/window_drawing.h"

std::string pictureTypeOf(const std::string &path, int &type) {
  type = imageType(path);
  if (type < kImageJpeg || type > kImageTiff)
    return "cannot tell the image format of '" + path +
           "' (use .png, .jpg, .jpeg, .bmp, .ppm, .tif or .tiff)";
  return {};
}

bool writeScenePicture(Scene &scene, View &view, const std::string &path, int type,
                       std::string &error) {
  drawFrame(view, scene);
  ImageBuffer image;
  if (!ReadFrame(image, view.camera.deviceWidth, view.camera.deviceHeight)) {
    error = "could not read the rendered picture back";
    return false;
  }
  return saveImage(image, path, type, RowOrder::kTopFirst, error) == 1;
}
