// The size texts of the disc page. Half-way megabyte figures round half to
// even (1152K = 1.125M reads "1.12M"), one rule for every size text.
#pragma once

#include <string>

namespace discpage {

// The file list's size column: whole kilobytes (the bytes divided by 1024,
// rounded down, at least 1 for any size above 0) followed by "K" up to
// 1024K; above that the megabytes with two decimals followed by "M". 0 bytes
// read "0K"; 1536 read "1K"; 1024 x 1024 read "1024K"; 1536 x 1024 read
// "1.50M".
std::string sizeText(double bytes);

// The summaries of the property commands: the same kilobytes, but 1 when
// they come to 0 (0 bytes read "1K"), and the megabytes without trailing
// zeros: 1024K "1024K", 1025K "1M", 1536K "1.5M", 1100K "1.07M".
std::string summarySizeText(double bytes);

}  // namespace discpage
