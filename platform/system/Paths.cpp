#include "platform/system/Paths.h"

std::string ToNativePath(std::string_view FileName) {
  std::string Result(FileName);
  for (char& C : Result)
    if (C == '\\') C = '/';
  return Result;
}
