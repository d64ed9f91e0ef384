#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The lines of a text, each of which must end in CR LF.
inline std::vector<std::u16string> Lines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "the text must end with CR LF";
  return lines;
}
