#pragma once
// Synthetic skins for the skinned form's tests: a frame picture of one colour per region,
// packed with the stored-skin format and loaded into a skin data component.
#include <memory>
#include <string>
#include <vector>

#include "skin/data/bsSkinData.h"
#include "tests/skin/data/SkinPayload.h"

namespace FormSkins {

// The frame picture: W x H of Frame with the client area Client in ClientColor.
inline std::string FramePicture(Integer W, Integer H, const TRect& Client, TColor Frame, TColor ClientColor) {
  TBitmap B;
  B.SetPixelFormat(pf24bit);
  B.SetSize(W, H);
  B.GetCanvas()->GetBrush()->SetColor(Frame);
  B.GetCanvas()->FillRect(Rect(0, 0, W, H));
  B.GetCanvas()->GetBrush()->SetColor(ClientColor);
  B.GetCanvas()->FillRect(Client);
  TMemoryStream S;
  B.SaveToStream(&S);
  return std::string(static_cast<const char*>(S.GetMemory()), static_cast<std::size_t>(S.GetSize()));
}

// A version 3 payload with a frame picture (no inactive picture, no mask).
inline std::string FramePayload(const std::string& Frame, const std::vector<std::string>& ListPictures,
                                const std::string& Text) {
  std::string Bytes;
  SkinPayload::Append(Bytes, 3);
  Bytes += '\0';
  Bytes += Frame;
  Bytes += "\x01\x01";
  SkinPayload::Append(Bytes, static_cast<Integer>(ListPictures.size()));
  for (const std::string& P : ListPictures) Bytes += P;
  return Bytes + Text;
}

inline std::string Rect4(const TRect& R) {
  return std::to_string(R.Left) + "," + std::to_string(R.Top) + "," + std::to_string(R.Right) + "," +
         std::to_string(R.Bottom);
}

// The skin text of a frame with the client rectangle given; Extra goes into FORMINFO.
inline std::string FrameText(Integer W, Integer H, const TRect& Client, const std::string& Extra,
                             const std::string& Objects = "[SKINOBJECTS]\r\ncount=0\r\n") {
  // The corners reach 20 pixels into the top and bottom bands, so that a caption running
  // from corner to corner stretches with the frame.
  const std::string LT = std::to_string(Client.Left + 20) + "," + std::to_string(Client.Top);
  const std::string RT = std::to_string(Client.Right - 20) + "," + std::to_string(Client.Top);
  const std::string LB = std::to_string(Client.Left + 20) + "," + std::to_string(Client.Bottom);
  const std::string RB = std::to_string(Client.Right - 20) + "," + std::to_string(Client.Bottom);
  (void)W;
  (void)H;
  return "[VERSION]\r\nskinname=frame\r\n[PICTURES]\r\npicture=frame.bmp\r\n[FORMINFO]\r\nclientrect=" +
         Rect4(Client) + "\r\nlefttoppoint=" + LT + "\r\nrighttoppoint=" + RT + "\r\nleftbottompoint=" + LB +
         "\r\nrightbottompoint=" + RB + "\r\nhittestlefttoppoint=" + LT + "\r\nhittestrighttoppoint=" + RT +
         "\r\nhittestleftbottompoint=" + LB + "\r\nhittestrightbottompoint=" + RB + "\r\n" + Extra + Objects +
         "[SKINCONTROLS]\r\ncount=0\r\n";
}

// Loads a payload into Data through a stored skin, as the program's skin list does.
inline void Load(TbsSkinData& Data, TbsCompressedStoredSkin& Stored, const std::string& Payload) {
  SkinPayload::Fill(Stored, SkinPayload::Compressed(Payload));
  Data.SetCompressedStoredSkin(&Stored);
}

}  // namespace FormSkins
