// The size of a file as the file list shows it.
#pragma once

#include <string>

namespace discpage {

// Whole kilobytes (the bytes divided by 1024, rounded down, at least 1 for
// any size above 0) followed by "K" up to 1024K; above that the megabytes
// with two decimals followed by "M". 0 bytes read "0K"; 1536 read "1K";
// 1024 x 1024 read "1024K"; 1536 x 1024 read "1.50M".
std::string sizeText(double bytes);

}  // namespace discpage
