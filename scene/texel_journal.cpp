#include "scene/texel_journal.h"

#include <algorithm>

bool TexelJournal::keep(int32_t slot, const ImageBuffer &image, const TexelRect &rect) {
  if (!rects.empty()) {
    const TexelBackup &last = rects.back();
    if (last.slot == slot && last.rect.x == rect.x && last.rect.y == rect.y &&
        last.rect.width == rect.width && last.rect.height == rect.height)
      return false;
  }
  if (texels.empty())
    texels.reserve(size_t(image.pixelCount())); // an atlas keeps each texel once at most
  rects.push_back({slot, rect});
  for (int32_t y = rect.y; y < rect.y + rect.height; ++y)
    texels.insert(texels.end(), image.row(y) + rect.x, image.row(y) + rect.x + rect.width);
  return true;
}

void TexelJournal::dropLast() {
  const TexelRect &r = rects.back().rect;
  texels.resize(texels.size() - size_t(r.width) * size_t(r.height));
  rects.pop_back();
}

bool exchangeTexels(const ObjectTable &objects, TexelJournal &journal, bool backwards) {
  std::vector<size_t> offsets(journal.rects.size());
  size_t offset = 0;
  for (size_t i = 0; i < journal.rects.size(); ++i) {
    offsets[i] = offset;
    offset += size_t(journal.rects[i].rect.width) * size_t(journal.rects[i].rect.height);
  }
  bool changed = false;
  if (offset != journal.texels.size())
    return changed;
  for (size_t n = 0; n < journal.rects.size(); ++n) {
    const size_t i = backwards ? journal.rects.size() - 1 - n : n;
    const TexelBackup &b = journal.rects[i];
    moObject *obj = objects.get(b.slot);
    if (!obj || !obj->paintLayer)
      continue;
    ImageBuffer &image = obj->paintLayer->image;
    const TexelRect &r = b.rect;
    if (r.x < 0 || r.y < 0 || r.x + r.width > image.width() || r.y + r.height > image.height())
      continue;
    auto saved = journal.texels.begin() + ptrdiff_t(offsets[i]);
    for (int32_t y = r.y; y < r.y + r.height; ++y, saved += r.width)
      std::swap_ranges(saved, saved + r.width, image.row(y) + r.x);
    changed = true;
  }
  return changed;
}
