#include "tool_windows_fixture.h"

#include <map>

bool showsSomething(const QImage &picture) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  std::map<QRgb, int> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      ++counts[image.pixel(x, y)];
  int most = 0;
  for (const auto &c : counts)
    most = std::max(most, c.second);
  const int total = image.width() * image.height();
  return total > 0 && counts.size() >= 8 && most < total * 95 / 100;
}
