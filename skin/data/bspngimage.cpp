#include "skin/data/bspngimage.h"

namespace {

struct TRegistry {
  std::vector<std::string> Classes;
  int StartCount = 0;
};

TRegistry& Registry() {
  static TRegistry R;
  return R;
}

}  // namespace

std::string ChunkNameOfLayerClass(const std::string& ClassName) {
  constexpr std::size_t PrefixLength = 11;  // "TbsPngLayer"
  return ClassName.size() > PrefixLength ? ClassName.substr(PrefixLength) : std::string();
}

const std::vector<std::string>& RegisteredPngLayerClasses() {
  return Registry().Classes;
}

void StartPngLayerRegistry() {
  TRegistry& R = Registry();
  if (R.StartCount++ != 0) return;
  R.Classes = {"TbsPngLayerIEND", "TbsPngLayerIHDR", "TbsPngLayerIDAT", "TbsPngLayerPLTE", "TbsPngLayergAMA",
               "TbsPngLayertRNS", "TbsPngLayerpHYs", "TbsPngLayertIME", "TbsPngLayertEXt", "TbsPngLayerzTXt"};
}

void StopPngLayerRegistry() {
  TRegistry& R = Registry();
  if (R.StartCount == 0 || --R.StartCount != 0) return;
  R.Classes.clear();
  R.Classes.shrink_to_fit();
}
