// The fixed numbers of ImageList1 that the program relies on (its 112 keys
// are listed in form1_design.cpp; a file type's picture is looked up by key).
#pragma once

namespace images {
inline constexpr int Folder = 1;             // "folder": folder nodes and rows
inline constexpr int Category = 3;           // "finddisc": category nodes
inline constexpr int OtherFile = 7;          // "dot": a file of any other type
inline constexpr int Disc = 73;              // "whitedisc": disc nodes and result rows
inline constexpr int SoftwareCategory = 94;  // "softw": software categories, disc information rows
inline constexpr int SoftwareRecord = 99;    // "softwarelist": software record nodes
inline constexpr int Count = 112;
}  // namespace images
