#pragma once
// PSD files built byte by byte for the reader tests, and reading helpers shared by the PSD tests.
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/formats/iepsd.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

struct TPsdBytes {
  std::vector<Byte> B;
  TPsdBytes& U8(Integer V) {
    B.push_back(static_cast<Byte>(V));
    return *this;
  }
  TPsdBytes& U16(Integer V) { return U8(V >> 8).U8(V); }
  TPsdBytes& U32(Int64 V) { return U16(static_cast<Integer>(V >> 16)).U16(static_cast<Integer>(V)); }
  TPsdBytes& Text(const std::string& S) {
    for (char C : S) U8(C);
    return *this;
  }
  TPsdBytes& Bytes(const std::vector<Byte>& V) {
    B.insert(B.end(), V.begin(), V.end());
    return *this;
  }
  // A 32-bit length, then Body.
  TPsdBytes& Block(const std::vector<Byte>& Body) { return U32(Body.size()).Bytes(Body); }
};

inline TPsdBytes PsdHeader(Integer Channels, Integer Rows, Integer Columns, Integer Depth, Integer Mode,
                           Integer Version = 1) {
  TPsdBytes H;
  H.Text("8BPS").U16(Version).U32(0).U16(0).U16(Channels).U32(Rows).U32(Columns).U16(Depth).U16(Mode);
  return H;
}

inline std::vector<Byte> PsdResource(Integer Id, const std::vector<Byte>& Data) {
  TPsdBytes R;
  R.Text("8BIM").U16(Id).U16(0).Block(Data);
  if (Data.size() & 1) R.U8(0);
  return R.B;
}

// One layer of a hand-made layer section; Channels hold each channel's bytes from its
// compression word on.
struct TPsdTestLayer {
  Integer Top = 0, Left = 0, Bottom = 0, Right = 0;
  std::vector<std::pair<Integer, std::vector<Byte>>> Channels;
  Integer Opacity = 255, Clipping = 0, Flags = 0;
  std::string Name;
  bool HasMask = false;
  Integer MaskTop = 0, MaskLeft = 0, MaskBottom = 0, MaskRight = 0;
};

inline std::vector<Byte> PsdLayerSection(const std::vector<TPsdTestLayer>& Layers) {
  TPsdBytes Info;
  Info.U16(static_cast<Integer>(Layers.size()));
  for (const TPsdTestLayer& L : Layers) {
    Info.U32(L.Top).U32(L.Left).U32(L.Bottom).U32(L.Right).U16(static_cast<Integer>(L.Channels.size()));
    for (const auto& [Id, Data] : L.Channels) Info.U16(Id).U32(Data.size());
    Info.Text("8BIMnorm").U8(L.Opacity).U8(L.Clipping).U8(L.Flags).U8(0);
    TPsdBytes Extra;
    if (L.HasMask)
      Extra.U32(20).U32(L.MaskTop).U32(L.MaskLeft).U32(L.MaskBottom).U32(L.MaskRight).U32(0);
    else
      Extra.U32(0);
    Extra.U32(0).U8(static_cast<Integer>(L.Name.size())).Text(L.Name);
    while (Extra.B.size() % 4) Extra.U8(0);
    Info.Block(Extra.B);
  }
  for (const TPsdTestLayer& L : Layers)
    for (const auto& Channel : L.Channels) Info.Bytes(Channel.second);
  TPsdBytes Section;
  Section.Block(Info.B).U32(0);
  TPsdBytes Out;
  Out.Block(Section.B);
  return Out.B;
}

// A raw channel: compression 0 and the bytes.
inline std::vector<Byte> PsdRawChannel(const std::vector<Byte>& Rows) {
  TPsdBytes C;
  C.U16(0).Bytes(Rows);
  return C.B;
}

struct TPsdRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  TTestProgress P;
  TIEPsdLayerList Layers;

  void Load(const std::vector<Byte>& File, bool LoadLayers = false, bool WithList = true) {
    TMemoryStream Stream;
    LoadBytes(Stream, File);
    PsdReadStream(&Stream, &Bitmap, Params, P.Progress, LoadLayers, WithList ? &Layers : nullptr);
  }
};
