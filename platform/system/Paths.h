#pragma once
// File names reach the layer with '\' or '/' as separators; the file system only knows '/'.
#include <string>
#include <string_view>

// The name as the file system wants it: every '\' becomes '/'.
std::string ToNativePath(std::string_view FileName);
