#pragma once
#include <cstdint>
#include <string>

namespace testing_support {

// A valid PNG of width x height black pixels, one bit each, compressed: a picture of
// 20,000 x 20,000 pixels takes about 50 KB.
std::string MakeBlackPng(uint32_t width, uint32_t height);

}  // namespace testing_support
