// The ICC profile reader: the input is a profile's bytes. Its notice and description must be
// texts found in the input, the bytes must be saved back unchanged, and a profile the
// colour-management library opens is run through a transform to and from sRGB in every pixel
// layout it accepts.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "imaging/core/ieicc.h"

namespace {

// A text of the profile lies inside it and ends with a zero byte there.
void CheckText(const std::string& Text, const uint8_t* Data, size_t Size) {
  if (Text.empty()) return;
  if (Text.size() >= 1000 || Text.find('\0') != std::string::npos) std::abort();
  const std::string Input(reinterpret_cast<const char*>(Data), Size);
  if (Input.find(Text + '\0') == std::string::npos) std::abort();
}

void CheckTransforms(TIEICC& ICC) {
  TIEICC SRGB;
  SRGB.OpenSRGB();
  constexpr Integer Count = 5;
  // Enough for every layout's widest pixel; a layout reads and writes only its own pitch.
  std::vector<Byte> In(Count * 6), Out(Count * 6);
  for (size_t I = 0; I < In.size(); ++I) In[I] = static_cast<Byte>(I * 37);
  for (Integer Code = 0; Code < iecCodeCount; ++Code) {
    const std::vector<Byte> Before = In;
    ICC.Transform(&SRGB, Code, iecBGR, 0, 0, In.data(), Out.data(), Count);
    SRGB.Transform(&ICC, iecBGR, Code, 0, 0, In.data(), Out.data(), Count);
    if (In != Before) std::abort();  // the caller's pixels are only read
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TIEICC ICC;
  ICC.LoadFromBuffer(Data, static_cast<Integer>(Size));
  CheckText(ICC.GetCopyright(), Data, Size);
  CheckText(ICC.GetDescription(), Data, Size);
  TMemoryStream Saved;
  ICC.SaveToStream(&Saved, true);
  if (Saved.GetSize() != static_cast<Int64>(Size) ||
      (Size > 0 && std::memcmp(Saved.GetMemory(), Data, Size) != 0))
    std::abort();
  if (ICC.IsValid()) CheckTransforms(ICC);
  return 0;
}
