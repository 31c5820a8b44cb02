#include "imaging/core/ieiccpixels.h"

#include <cstring>

#include "imaging/core/ieicc.h"

// Last: it defines TRUE and FALSE as macros, which the platform headers declare.
#include <lcms2.h>

namespace {

constexpr Word Widen(Byte B) {
  return static_cast<Word>(B * 257);
}
constexpr Byte High(Word W) {
  return static_cast<Byte>(W >> 8);
}
constexpr Word SwapBytes(Word W) {
  return static_cast<Word>((W << 8) | (W >> 8));
}

Word LoadWord(const Byte* P) {
  Word W;
  std::memcpy(&W, P, sizeof W);
  return W;
}
void StoreWord(Byte* P, Word W) {
  std::memcpy(P, &W, sizeof W);
}

// Byte I of a pixel goes to slot Order[I]: the same table widens and narrows.
template <int Channels>
void WidenBytes(const Byte* In, TIEICCSlots* S, Integer Count, Integer Pitch, const int (&Order)[Channels],
                bool Inverted) {
  const Byte Flip = Inverted ? 255 : 0;
  for (Integer I = 0; I < Count; ++I, In += Pitch)
    for (int C = 0; C < Channels; ++C) S[I][Order[C]] = Widen(In[C] ^ Flip);
}
template <int Channels>
void NarrowBytes(const TIEICCSlots* S, Byte* Out, Integer Count, Integer Pitch, const int (&Order)[Channels],
                 bool Inverted) {
  const Byte Flip = Inverted ? 255 : 0;
  for (Integer I = 0; I < Count; ++I, Out += Pitch)
    for (int C = 0; C < Channels; ++C) Out[C] = High(S[I][Order[C]]) ^ Flip;
}

constexpr int InOrder[3] = {0, 1, 2};
constexpr int Reversed[3] = {2, 1, 0};
constexpr int Inks[4] = {0, 1, 2, 3};
constexpr int OneSlot[1] = {0};

}  // namespace

Integer IEICCPixelPitch(Integer Code) {
  static constexpr Integer Pitch[iecCodeCount] = {3, 3, 4, 6, 3, 1, 6, 6, 3};
  return Code >= 0 && Code < iecCodeCount ? Pitch[Code] : 0;
}

Cardinal IEICCSlotFormat(Integer Code) {
  constexpr Cardinal Words3 = CHANNELS_SH(3) | BYTES_SH(2) | EXTRA_SH(1);
  switch (Code) {
    case iecRGB:
    case iecBGR:
    case iecRGB48:
    case iecRGB48BE:
      return COLORSPACE_SH(PT_RGB) | Words3;
    case iecCMYK:
    case iecCMYK6:
      return TYPE_CMYK_16;
    case iecCIELab:
      return COLORSPACE_SH(PT_Lab) | Words3;
    case iecGray:
      return COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(2) | EXTRA_SH(3);
    case iec3Channel:
      return Words3;  // any colour space of three channels
    default:
      return 0;
  }
}

void IEICCWiden(Integer Code, const Byte* In, TIEICCSlots* S, Integer Count) {
  switch (Code) {
    case iecRGB:
    case iec3Channel:
      WidenBytes(In, S, Count, 3, InOrder, false);
      break;
    case iecBGR:
      WidenBytes(In, S, Count, 3, Reversed, false);
      break;
    case iecCMYK:
      WidenBytes(In, S, Count, 4, Inks, true);
      break;
    case iecCMYK6:
      WidenBytes(In, S, Count, 6, Inks, false);
      break;
    case iecCIELab:
      // a and b are signed; the library's 16-bit Lab has 0 at 128 x 257.
      for (Integer I = 0; I < Count; ++I, In += 3)
        S[I] = {Widen(In[0]), Widen(In[1] ^ 0x80), Widen(In[2] ^ 0x80), 0};
      break;
    case iecGray:
      WidenBytes(In, S, Count, 1, OneSlot, false);
      break;
    case iecRGB48:
      for (Integer I = 0; I < Count; ++I, In += 6)
        S[I] = {LoadWord(In), LoadWord(In + 2), LoadWord(In + 4), 0};
      break;
    case iecRGB48BE:
      for (Integer I = 0; I < Count; ++I, In += 6)
        S[I] = {SwapBytes(LoadWord(In)), SwapBytes(LoadWord(In + 2)), SwapBytes(LoadWord(In + 4)), 0};
      break;
    default:
      break;
  }
}

void IEICCNarrow(Integer Code, const TIEICCSlots* S, Byte* Out, Integer Count) {
  switch (Code) {
    case iecRGB:
    case iec3Channel:
      NarrowBytes(S, Out, Count, 3, InOrder, false);
      break;
    case iecBGR:
      NarrowBytes(S, Out, Count, 3, Reversed, false);
      break;
    case iecCMYK:
      NarrowBytes(S, Out, Count, 4, Inks, true);
      break;
    case iecCMYK6:
      NarrowBytes(S, Out, Count, 6, Inks, false);
      break;
    case iecCIELab:
      for (Integer I = 0; I < Count; ++I, Out += 3) {
        Out[0] = High(S[I][0]);
        Out[1] = High(S[I][1]) ^ 0x80;
        Out[2] = High(S[I][2]) ^ 0x80;
      }
      break;
    case iecGray:
      NarrowBytes(S, Out, Count, 1, OneSlot, false);
      break;
    case iecRGB48:
      for (Integer I = 0; I < Count; ++I, Out += 6)
        for (int C = 0; C < 3; ++C) StoreWord(Out + 2 * C, S[I][C]);
      break;
    case iecRGB48BE:
      for (Integer I = 0; I < Count; ++I, Out += 6)
        for (int C = 0; C < 3; ++C) StoreWord(Out + 2 * C, SwapBytes(S[I][C]));
      break;
    default:
      break;
  }
}
