// TZezudIdIO::SaveToPascalSource: the picture as program text, either its saved file as a byte
// array, a byte list or Base64 text, or its pixels as a picture of characters.
#include <algorithm>
#include <cstdio>
#include <string>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieencoders.h"
#include "imaging/core/iestreams.h"
#include "imaging/io/zezudidio.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/ScopeExit.h"
#include "platform/system/Strings.h"

namespace {

// Lines are written as soon as they grow longer than this.
constexpr size_t LineLimit = 70;

std::string Hex2(Byte Value) {
  char Text[3];
  std::snprintf(Text, sizeof(Text), "%02X", Value);
  return Text;
}

// Every byte but the last as Prefix, two digits and a comma, on lines written with Indent once
// longer than LineLimit; the last byte, without a comma, and Ending end the last line.
void WriteByteLines(TStream* Text, const Byte* Data, size_t Count, std::string_view Prefix,
                    std::string_view Indent, std::string_view Ending) {
  std::string Line;
  for (size_t I = 0; I + 1 < Count; ++I) {
    Line.append(Prefix).append(Hex2(Data[I])).append(",");
    if (Line.size() > LineLimit) {
      IEWriteLn(Text, std::string(Indent) + Line);
      Line.clear();
    }
  }
  if (Count > 0) Line.append(Prefix).append(Hex2(Data[Count - 1]));
  IEWriteLn(Text, std::string(Indent) + Line + std::string(Ending));
}

// One character per pixel from dark to light by the library's grey weights.
void WriteCharacterPicture(TStream* Text, TIEBitmap& Bitmap) {
  static constexpr char Shades[] = "W@#*+:., ";
  const Integer Width = Bitmap.GetWidth();
  std::string Line(static_cast<size_t>(Width), ' ');
  for (Integer Y = 0; Y < Bitmap.GetHeight(); ++Y) {
    const auto* Pixels = static_cast<const TIERGBTriple*>(Bitmap.GetScanline(Y));
    for (Integer X = 0; X < Width; ++X) {
      const Integer Grey = (Pixels[X].rgbtRed * 21 + Pixels[X].rgbtGreen * 71 + Pixels[X].rgbtBlue * 8) / 100;
      Line[X] = Shades[std::min(static_cast<Integer>(Grey / 255.0 * 9), 8)];
    }
    IEWriteLn(Text, Line);
  }
}

}  // namespace

void TZezudIdIO::SaveToPascalSource(const std::u16string& FileName, TIEFileType FileType,
                                    Integer SourceKind) {
  TMemoryStream Saved;
  if (SourceKind >= 0 && SourceKind <= 2) {
    // The memory stream lives on this frame: its save must not be handed to a worker.
    const bool Kept = FKeepOnCallerThread;
    FKeepOnCallerThread = true;
    auto Restore = ScopeExit([&] { FKeepOnCallerThread = Kept; });
    SaveToStream(&Saved, FileType);
  }
  const std::string Name = Utf16ToUtf8(FileName);
  std::string Identifier = Name;
  if (const size_t Dot = Identifier.find('.'); Dot != std::string::npos) Identifier[Dot] = '_';
  const auto* Data = static_cast<const Byte*>(Saved.GetMemory());
  const auto Count = static_cast<size_t>(Saved.GetSize());

  TReplacingFileStream Text(Name);
  switch (SourceKind) {
    case 0:
      IEWriteLn(&Text, "const");
      IEWriteLn(&Text, "  " + Identifier + "_Size = " + std::to_string(Count) + ";");
      IEWriteLn(&Text, "  " + Identifier + " : array [0.." + Identifier + "_Size-1] of byte = (");
      WriteByteLines(&Text, Data, Count, "$", "    ", ");");
      break;
    case 1:
      IEWriteLn(&Text, "\\\\ Size=" + std::to_string(Count));
      WriteByteLines(&Text, Data, Count, "0x", "", "");
      break;
    case 2:
      Saved.SetPosition(0);
      IEBase64EncodeStreamToText(&Saved, &Text, 76);
      break;
    case 3:
      if (MakeConsistentBitmap(TIEPixelFormatSet{ie24RGB})) WriteCharacterPicture(&Text, *FIEBitmap);
      break;
    default:
      break;
  }
  Text.Commit();
  FParams->FileName = FileName;
}
