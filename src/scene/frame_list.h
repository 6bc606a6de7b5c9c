#pragma once
// A list of frame numbers as the capture's --only and the page's check mode
// take it: "0,2600,6000", whole decimal numbers from 0 to 2147483647
// separated by commas, nothing else. The numbers come out ascending, each
// once.
#include <cstdint>
#include <string_view>
#include <vector>

bool parseFrameList(std::string_view text, std::vector<int32_t>& frames);

// A whole decimal number from 0 to 2147483647, digits only.
bool parseWholeNumber(std::string_view text, int32_t& value);
