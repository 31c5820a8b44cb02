// PNM writing: "P4", "P5" or "P6" with 8 or 16-bit samples, chosen by the picture's pixel format
// and the parameters' bits per sample and samples per pixel.
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ieconvertcolorrow.h"
#include "imaging/core/iestreams.h"
#include "imaging/formats/iepnm.h"
#include "imaging/formats/iewritework.h"
#include "imaging/io/ieioprogress.h"
#include "imaging/io/zezudidioparams.h"
#include "platform/system/StringList.h"

namespace {

enum class TPnmOut { None, Bits, Grey8, Rgb24As48, Rgb48, Rgb24 };

TPnmOut ChooseForm(TIEPixelFormat Format, const TIOParamsVals& P) {
  if ((P.BitsPerSample == 1 && P.SamplesPerPixel == 1) || Format == ie1g) return TPnmOut::Bits;
  if (P.BitsPerSample == 8 && P.SamplesPerPixel == 1) return TPnmOut::Grey8;
  if (P.BitsPerSample == 16 && P.SamplesPerPixel == 3 && Format == ie24RGB) return TPnmOut::Rgb24As48;
  if (Format == ieRGB48) return TPnmOut::Rgb48;
  if ((P.BitsPerSample == 8 && P.SamplesPerPixel == 3) || Format == ie24RGB) return TPnmOut::Rgb24;
  return TPnmOut::None;
}

// The pixel format the rows are taken from for each form.
TIEPixelFormat SourceFormat(TPnmOut Form) {
  switch (Form) {
    case TPnmOut::Bits:
      return ie1g;
    case TPnmOut::Rgb48:
      return ieRGB48;
    default:
      return ie24RGB;
  }
}

std::string Header(TPnmOut Form, TIEBitmap* Bitmap, TStringList& Comments) {
  std::string Text = Form == TPnmOut::Bits ? "P4 " : Form == TPnmOut::Grey8 ? "P5 " : "P6 ";
  for (Integer I = 0; I < Comments.GetCount(); ++I) Text += "\n# " + Comments.GetStrings(I) + "\n";
  Text += std::to_string(Bitmap->GetWidth()) + " " + std::to_string(Bitmap->GetHeight());
  if (Form == TPnmOut::Grey8 || Form == TPnmOut::Rgb24) Text += " 255";
  if (Form == TPnmOut::Rgb24As48 || Form == TPnmOut::Rgb48) Text += " 65535";
  return Text + "\n";
}

void PutBigEndian16(Byte* Dest, Word Value) {
  Dest[0] = static_cast<Byte>(Value >> 8);
  Dest[1] = static_cast<Byte>(Value & 0xFF);
}

// One file row of Width pixels from a picture row in SourceFormat(Form); returns its length.
Integer EncodeRow(TPnmOut Form, void* Row, Integer Width, Byte* Out, TIOParamsVals& IOParams) {
  switch (Form) {
    case TPnmOut::Bits: {
      const Integer Bytes = (Width + 7) / 8;
      const Byte* In = static_cast<const Byte*>(Row);
      for (Integer I = 0; I < Bytes; ++I) Out[I] = static_cast<Byte>(~In[I]);
      return Bytes;
    }
    case TPnmOut::Grey8:
      IEConvertColorRow(Row, iecBGR, Out, iecGray, Width, &IOParams);
      return Width;
    case TPnmOut::Rgb24As48: {
      const auto* In = static_cast<const TIERGBTriple*>(Row);
      for (Integer X = 0; X < Width; ++X) {
        PutBigEndian16(Out + 6 * X, static_cast<Word>(In[X].rgbtRed * 257));
        PutBigEndian16(Out + 6 * X + 2, static_cast<Word>(In[X].rgbtGreen * 257));
        PutBigEndian16(Out + 6 * X + 4, static_cast<Word>(In[X].rgbtBlue * 257));
      }
      return Width * 6;
    }
    case TPnmOut::Rgb48: {
      const auto* In = static_cast<const TIERGB48Pixel*>(Row);
      for (Integer X = 0; X < Width; ++X) {
        PutBigEndian16(Out + 6 * X, In[X].r);
        PutBigEndian16(Out + 6 * X + 2, In[X].g);
        PutBigEndian16(Out + 6 * X + 4, In[X].b);
      }
      return Width * 6;
    }
    default: {
      const auto* In = static_cast<const TIERGBTriple*>(Row);
      for (Integer X = 0; X < Width; ++X) {
        Out[3 * X] = In[X].rgbtRed;
        Out[3 * X + 1] = In[X].rgbtGreen;
        Out[3 * X + 2] = In[X].rgbtBlue;
      }
      return Width * 3;
    }
  }
}

}  // namespace

void PnmWriteStream(TStream* Stream, TIEBitmap* Bitmap, TIOParamsVals& IOParams, TIEIOProgress& Progress) {
  const TPnmOut Form = ChooseForm(Bitmap->GetPixelFormat(), IOParams);
  // No form fits: writing nothing must not pass for a saved picture.
  if (Form == TPnmOut::None) {
    IESetAborting(Progress);
    return;
  }
  std::unique_ptr<TIEBitmap> Work;
  TIEBitmap* Source = Bitmap;
  if (Bitmap->GetPixelFormat() != SourceFormat(Form)) {
    Work = IEConvertedCopy(Bitmap, SourceFormat(Form));
    Source = Work.get();
  }
  const Integer Width = Source->GetWidth();
  const Integer Height = Source->GetHeight();
  IEStartProgress(Progress, Height);
  const std::string Text = Header(Form, Source, *IOParams.PxmComments);
  IESafeStreamWrite(Stream, *Progress.Aborting, Text.data(), static_cast<Integer>(Text.size()));
  std::vector<Byte> Out(static_cast<size_t>(Width) * 6 + 1);
  for (Integer Y = 0; Y < Height; ++Y) {
    const Integer Length = EncodeRow(Form, Source->GetScanline(Y), Width, Out.data(), IOParams);
    IESafeStreamWrite(Stream, *Progress.Aborting, Out.data(), Length);
    IEReportProgress(Progress, Y + 1);
  }
}
