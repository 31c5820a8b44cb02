#pragma once
// Stored skins made in the tests: a payload of pictures and skin text, compressed into a stored
// skin as the packer does.
#include <string>
#include <vector>

#include "platform/classes/Bitmap.h"
#include "skin/data/bsSkinData.h"
#include "skin/data/bszlibcompress.h"

namespace SkinPayload {

// The five sections every skin text has, with empty part lists.
inline std::string MinimalSkinText(const std::string& Extra = "") {
  return "[VERSION]\r\nskinname=minimal\r\n[PICTURES]\r\n[FORMINFO]\r\n[SKINOBJECTS]\r\ncount=0\r\n"
         "[SKINCONTROLS]\r\ncount=0\r\n" +
         Extra;
}

inline void Append(std::string& Bytes, Integer V) {
  for (int I = 0; I < 4; ++I) Bytes += static_cast<char>((static_cast<Cardinal>(V) >> (8 * I)) & 0xFF);
}

// A BMP file image of a W x H picture filled with Color.
inline std::string BmpImage(Integer W, Integer H, TColor Color) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  B.GetCanvas()->GetBrush()->SetColor(Color);
  B.GetCanvas()->FillRect(Rect(0, 0, W, H));
  TMemoryStream S;
  B.SaveToStream(&S);
  return std::string(static_cast<const char*>(S.GetMemory()), static_cast<std::size_t>(S.GetSize()));
}

// Version, three absent form pictures, the list pictures and the text.
inline std::string Payload(Integer Version, const std::vector<std::string>& ListPictures,
                           const std::string& Text) {
  std::string Bytes;
  Append(Bytes, Version);
  Bytes += std::string(Version == 2 ? 5 : 3, '\x01');
  Append(Bytes, static_cast<Integer>(ListPictures.size()));
  for (const std::string& P : ListPictures) Bytes += P;
  return Bytes + Text;
}

inline std::string Compressed(const std::string& Bytes) {
  TStringStream Source(Bytes);
  TStringStream Target;
  CompressStream(&Source, &Target);
  return Target.GetDataString();
}

inline void Fill(TbsCompressedStoredSkin& Stored, const std::string& CompressedBytes) {
  Stored.CompressedStream->Clear();
  Stored.CompressedStream->WriteBuffer(CompressedBytes.data(), static_cast<Integer>(CompressedBytes.size()));
}

}  // namespace SkinPayload
