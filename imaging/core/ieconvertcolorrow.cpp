#include "imaging/core/ieconvertcolorrow.h"

#include <cstring>

#include "imaging/core/iecolorspace.h"

bool ColorManagementEnabled = false;

TIEICC* TIOParamsICC::GetInputICC() {
  if (!InputICC) InputICC = std::make_unique<TIEICC>();
  return InputICC.get();
}

TIEICC* TIOParamsICC::GetOutputICC() {
  if (!OutputICC) {
    OutputICC = std::make_unique<TIEICC>();
    OutputICC->OpenSRGB();
  }
  return OutputICC.get();
}

TIEICC* TIOParamsICC::GetDefaultICC() {
  if (!DefaultICC) DefaultICC = std::make_unique<TIEICC>();
  return DefaultICC.get();
}

namespace {

TIEICC* InputProfile(TIOParamsICC* IOParams) {
  if (!IOParams) return nullptr;
  TIEICC* Input = IOParams->InputICC.get();
  if (IOParams->DefaultICC && (!Input || !Input->IsValid())) return IOParams->DefaultICC.get();
  return Input;
}

bool ConvertByProfile(void* Source, Byte SourceLayout, void* Dest, Byte TargetLayout, Integer Count,
                      TIOParamsICC* IOParams) {
  TIEICC* Input = InputProfile(IOParams);
  if (!ColorManagementEnabled || !Input || !Input->IsValid() || Input->GetApplied()) return false;
  TIEICC* Output = IOParams->GetOutputICC();
  return Output->IsValid() && Input->Transform(Output, SourceLayout, TargetLayout, 0, 0, Source, Dest, Count);
}

// Each source pixel of Pitch bytes to one TIERGBTriple.
template <class F>
void ToTriples(const Byte* S, Integer Pitch, void* Dest, Integer Count, F Convert) {
  auto* D = static_cast<TIERGBTriple*>(Dest);
  for (Integer X = 0; X < Count; ++X, S += Pitch) D[X] = Convert(S);
}

TIERGBTriple FromRGB(const Byte* S) {
  return {S[2], S[1], S[0]};
}

void ConvertFromTriples(const TIERGBTriple* S, Byte TargetLayout, void* Dest, Integer Count) {
  switch (TargetLayout) {
    case iecBGR:
      std::memmove(Dest, S, static_cast<size_t>(Count) * 3);
      break;
    case iecCMYK: {
      auto* D = static_cast<TCMYK*>(Dest);
      for (Integer X = 0; X < Count; ++X) D[X] = IERGB2CMYK(S[X]);
      break;
    }
    case iecCIELab: {
      auto* D = static_cast<TIECIELabPixel*>(Dest);
      for (Integer X = 0; X < Count; ++X) D[X] = IERGB2CIELab(S[X]);
      break;
    }
    case iecGray: {
      auto* D = static_cast<Byte*>(Dest);
      const TIEGray8 Gray = TIEGray8::Current();
      for (Integer X = 0; X < Count; ++X) D[X] = static_cast<Byte>(Gray(S[X]));
      break;
    }
    default:
      break;
  }
}

void ConvertToTriples(Byte* S, Byte SourceLayout, void* Dest, Integer Count) {
  switch (SourceLayout) {
    case iecRGB:
      ToTriples(S, 3, Dest, Count, FromRGB);
      break;
    case iecCMYK:
      ToTriples(S, 4, Dest, Count, [](const Byte* P) {
        TIERGBTriple C;
        IECMYK2RGB(TCMYK{P[0], P[1], P[2], P[3]}, C);
        return C;
      });
      break;
    case iecCMYK6:
      // The inks are turned into stored CMYK in the caller's row itself.
      ToTriples(S, 6, Dest, Count, [](const Byte* P) {
        auto* Inks = const_cast<Byte*>(P);
        for (int I = 0; I < 4; ++I) Inks[I] = static_cast<Byte>(255 - Inks[I]);
        TIERGBTriple C;
        IECMYK2RGB(TCMYK{P[0], P[1], P[2], P[3]}, C);
        return C;
      });
      break;
    case iecCIELab:
      ToTriples(S, 3, Dest, Count, [](const Byte* P) {
        return IECIELab2RGB(TIECIELabPixel{P[0], static_cast<ShortInt>(P[1]), static_cast<ShortInt>(P[2])});
      });
      break;
    case iecRGB48:
      ToTriples(S, 6, Dest, Count, [](const Byte* P) { return TIERGBTriple{P[5], P[3], P[1]}; });
      break;
    case iecRGB48BE:
      ToTriples(S, 6, Dest, Count, [](const Byte* P) { return TIERGBTriple{P[4], P[2], P[0]}; });
      break;
    case iec3Channel:
      ToTriples(S, 3, Dest, Count, [](const Byte* P) {
        TIERGBTriple C;
        IEYCbCr2RGB(C, P[0], P[1], P[2]);
        return C;
      });
      break;
    default:
      break;
  }
}

}  // namespace

void IEConvertColorRow(void* Source, Byte SourceLayout, void* Dest, Byte TargetLayout, Integer Count,
                       TIOParamsICC* IOParams) {
  if (Count <= 0) return;
  if (ConvertByProfile(Source, SourceLayout, Dest, TargetLayout, Count, IOParams)) return;
  if (SourceLayout == iecBGR)
    ConvertFromTriples(static_cast<const TIERGBTriple*>(Source), TargetLayout, Dest, Count);
  else if (TargetLayout == iecBGR)
    ConvertToTriples(static_cast<Byte*>(Source), SourceLayout, Dest, Count);
}
