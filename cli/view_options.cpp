#include "cli/view_options.h"

#include "image/image_buffer.h"

#include <map>
#include <sstream>

std::string parseViewSize(const std::string &text, int32_t &width, int32_t &height) {
  char x = 0;
  std::istringstream size(text);
  if (!(size >> width >> x >> height) || x != 'x' || !imageSizeSupported(width, height))
    return "bad size '" + text + "' (WxH)";
  return {};
}

std::string parseViewName(const std::string &text, int32_t &axis) {
  static const std::map<std::string, int32_t> kViews = {
      {"reset", -1}, {"+x", 0}, {"+y", 1}, {"+z", 2}, {"-x", 7}, {"-y", 8}, {"-z", 9}};
  const auto it = kViews.find(text);
  if (it == kViews.end())
    return "unknown view '" + text + "'";
  axis = it->second;
  return {};
}
