#include "paint/tools/paint_images.h"

#include "image/image_file.h"
#include "paint/projection_paint.h"
#include "paint/tools/stamp_tools.h"
#include "paint/tools/tool_registry.h"

namespace {

constexpr uint8_t kImportedAlpha = 48;

// The dialog's filter entries in order, with the reader each one selects.
struct ImageFilter {
  const char *entry;
  int type;
};
constexpr ImageFilter kFilters[] = {{"TIFF (*.tif)", kImageTiff},
                                    {"BMP (*.bmp)", kImageBmp},
                                    {"PNG (*.png)", kImagePng},
                                    {"JPEG (*.jpg *.jpeg)", kImageJpeg},
                                    {"PPM (*.ppm)", kImagePpm}};

void setAlpha(ImageBuffer &image, uint8_t alpha) {
  uint32_t *p = image.pixels();
  for (int32_t i = 0; i < image.pixelCount(); ++i)
    p[i] = (p[i] & 0x00FFFFFFu) | uint32_t(alpha) << 24;
}

void useReveal(PaintContext &ctx, ImageBuffer image) {
  if (image.empty())
    return;
  setAlpha(image, kImportedAlpha);
  PaintCanvas &canvas = ctx.canvas;
  canvas.revealX = float((canvas.width() - image.width()) / 2);
  canvas.revealY = float((canvas.height() - image.height()) / 2);
  canvas.revealImage = std::move(image);
  if (!(canvas.revealFlags & 1))
    canvas.revealFlags = 1 | PaintCanvas::kRevealShown;
  ctx.feedback.redraw();
}

void useStamp(PaintContext &ctx, ImageBuffer image) {
  if (image.empty()) {
    ctx.toolbox.SelectTool(ctx, kKnifeTool); // capture a region to stamp instead
    return;
  }
  ctx.toolbox.stamp().setImage(ctx, std::move(image));
  ctx.toolbox.SelectTool(ctx, kStampTool);
}

void usePattern(PaintContext &ctx, ImageBuffer image) {
  if (image.empty())
    return;
  setAlpha(image, kImportedAlpha);
  ctx.canvas.patternImage = std::move(image);
  ctx.canvas.patternOn = 1;
}

} // namespace

bool chooseImageFile(UserInterface &ui, std::string &folder, ImageBuffer &image) {
  UserInterface::FileRequest request;
  request.title = "Select an image file to load";
  for (const ImageFilter &filter : kFilters)
    request.filters.push_back(filter.entry);
  request.defaultSuffix = "tif";
  request.folder = folder;
  request.purpose = "images";
  const UserInterface::FileChoice choice = ui.chooseFile(request);
  folder.clear(); // later dialogs start where the user left the last one
  if (choice.path.empty())
    return false;
  // The file's own extension wins over the filter entry it was chosen under: a PNG picked by
  // typing its name while the TIFF entry is selected still reads as PNG.
  const int entries = int(std::size(kFilters));
  int type = imageType(choice.path);
  if (type < kImageJpeg || type > kImageTiff)
    type = kFilters[choice.filter >= 0 && choice.filter < entries ? choice.filter : 0].type;
  // PNG and PPM readers put the picture's bottom row first with these flags, as the others do.
  if (loadImage(image, choice.path, type, type == kImagePpm) != 1) {
    image = ImageBuffer();
    ui.messageBox("Cannot read the image file " + choice.path);
  }
  return true;
}

bool ImportPaintImage(PaintContext &ctx, UserInterface &ui, std::string &folder, int32_t target) {
  if (target != kRevealTarget && target != kStampTarget && target != kPatternTarget)
    return false;
  ImageBuffer image;
  if (!chooseImageFile(ui, folder, image))
    return false;
  if (target == kRevealTarget)
    useReveal(ctx, std::move(image));
  else if (target == kStampTarget)
    useStamp(ctx, std::move(image));
  else
    usePattern(ctx, std::move(image));
  return true;
}

bool ToggleReveal(PaintContext &ctx, UserInterface &ui, std::string &folder) {
  PaintCanvas &canvas = ctx.canvas;
  if (canvas.revealFlags & 1) {
    canvas.revealFlags = 0;
    ctx.feedback.redraw();
    ctx.toolbox.activateCurrent(ctx);
  } else if (canvas.revealImage.empty()) {
    ImportPaintImage(ctx, ui, folder, kRevealTarget);
  } else {
    canvas.revealFlags = 1 | PaintCanvas::kRevealShown;
    ctx.feedback.redraw();
  }
  return canvas.revealFlags & 1;
}

bool TogglePattern(PaintContext &ctx, UserInterface &ui, std::string &folder) {
  PaintCanvas &canvas = ctx.canvas;
  if (canvas.patternOn) {
    canvas.patternOn = 0;
    ctx.toolbox.activateCurrent(ctx);
  } else if (canvas.patternImage.empty()) {
    ImportPaintImage(ctx, ui, folder, kPatternTarget);
  } else {
    canvas.patternOn = 1;
  }
  return canvas.patternOn != 0;
}

bool ProjectPaintImage(PaintContext &ctx, UserInterface &ui, std::string &folder, int32_t type) {
  if (!ctx.scene || !ctx.view)
    return false;
  ImageBuffer image;
  if (!chooseImageFile(ui, folder, image) ||
      !ProjectImage(*ctx.scene, *ctx.view, ctx.canvas, image, type))
    return false;
  ctx.feedback.redraw();
  return true;
}
