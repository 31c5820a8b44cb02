#pragma once
// A small synthetic skin for the edit, spin and scroll box tests: one picture whose pieces are
// painted in unique colours, and a skin text naming the parts, packed and loaded as a stored
// skin is.
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "skin/data/bsSkinData.h"
#include "tests/skin/data/SkinPayload.h"

namespace BoxSkin {

struct TPatch {
  TRect R;
  TColor Color;
};

// A BMP file image of W x H in Back with the patches painted over it in order.
inline std::string Picture(Integer W, Integer H, TColor Back, const std::vector<TPatch>& Patches) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  TCanvas* C = B.GetCanvas();
  C->GetBrush()->SetColor(Back);
  C->FillRect(Rect(0, 0, W, H));
  for (const TPatch& P : Patches) {
    C->GetBrush()->SetColor(P.Color);
    C->FillRect(P.R);
  }
  TMemoryStream S;
  B.SaveToStream(&S);
  return std::string(static_cast<const char*>(S.GetMemory()), static_cast<std::size_t>(S.GetSize()));
}

struct TPart {
  std::string Name, TypeWord;
  std::string Keys;  // "key=value\r\n" lines of its section
};

// Loads the parts and pictures into Data as a stored skin.
inline void Load(TbsSkinData& Data, const std::vector<std::string>& Pictures,
                 const std::vector<TPart>& Parts) {
  std::string Text =
      "[VERSION]\r\nskinname=box\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]"
      "\r\n";
  Text += "count=" + std::to_string(Parts.size()) + "\r\n";
  for (std::size_t I = 0; I < Parts.size(); ++I)
    Text += std::to_string(I) + "=" + Parts[I].Name + ":" + Parts[I].TypeWord + "\r\n";
  for (const TPart& P : Parts) Text += "[" + P.Name + "]\r\n" + P.Keys;
  TbsCompressedStoredSkin Stored(nullptr);
  SkinPayload::Fill(Stored, SkinPayload::Compressed(SkinPayload::Payload(3, Pictures, Text)));
  Data.LoadStoredSkin(&Stored);
}

// The screenshot's 0x00RRGGBB of a plain RGB colour.
inline DWORD Screen(TColor Color) {
  const COLORREF C = ColorToRGB(Color);
  return (static_cast<DWORD>(GetRValue(C)) << 16) | (static_cast<DWORD>(GetGValue(C)) << 8) | GetBValue(C);
}

}  // namespace BoxSkin
