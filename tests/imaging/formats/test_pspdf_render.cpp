// PostScript and PDF documents rendered back by Ghostscript at one pixel per point, on paper of
// the picture's size: every lossless compression gives the picture's pixels exactly, JPEG close
// to them (on a smooth picture). Ghostscript reads each document without a complaint, and
// poppler's pdfinfo sees one PDF page of the paper's size.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "imaging/formats/iepdfwriter.h"
#include "imaging/formats/iepostscript.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"
#include "tests/imaging/formats/PsPdfTestSupport.h"

namespace {

constexpr Integer Width = 37;
constexpr Integer Height = 23;

struct TRendered {
  Integer Width = 0, Height = 0;
  std::vector<Byte> RGB;
};

// A binary PPM (maxval 255) as written by both tools.
TRendered ReadPPM(const std::vector<Byte>& File) {
  TRendered Out;
  std::string Header;
  size_t At = 0;
  Integer Fields = 0;
  Integer Values[3] = {};
  std::string Token;
  while (At < File.size() && Fields < 4) {
    const char C = static_cast<char>(File[At++]);
    if (C == '#') {
      while (At < File.size() && File[At] != '\n') ++At;
    } else if (std::isspace(static_cast<unsigned char>(C))) {
      if (!Token.empty()) {
        if (Fields == 0)
          EXPECT_EQ(Token, "P6");
        else
          Values[Fields - 1] = std::stoi(Token);
        ++Fields;
        Token.clear();
      }
    } else {
      Token += C;
    }
  }
  Out.Width = Values[0];
  Out.Height = Values[1];
  Out.RGB.assign(File.begin() + static_cast<std::ptrdiff_t>(At), File.end());
  return Out;
}

// The largest channel difference between the picture and the rendering; -1 on a size mismatch.
Integer LargestDifference(TIEBitmap* Picture, const TRendered& Rendered) {
  if (Rendered.Width != Picture->GetWidth() || Rendered.Height != Picture->GetHeight() ||
      Rendered.RGB.size() != static_cast<size_t>(Rendered.Width) * Rendered.Height * 3)
    return -1;
  Integer Largest = 0;
  for (Integer Y = 0; Y < Rendered.Height; ++Y)
    for (Integer X = 0; X < Rendered.Width; ++X) {
      const TIERGBTriple Source = Picture->GetPixelRGB(X, Y);
      const Byte* Out = &Rendered.RGB[(static_cast<size_t>(Y) * Rendered.Width + X) * 3];
      Largest = std::max({Largest, std::abs(Out[0] - Source.rgbtRed), std::abs(Out[1] - Source.rgbtGreen),
                          std::abs(Out[2] - Source.rgbtBlue)});
    }
  return Largest;
}

std::vector<Byte> Document(TMemoryStream& Stream) {
  return StreamBytes(Stream);
}

struct TCase {
  bool OneBit;
  Byte Compression;
  Integer Tolerance;  // 0: exact
};

// JPEG is judged on a smooth picture: sharp colour edges are what it gives up first.
std::unique_ptr<TIEBitmap> PictureOf(const TCase& Case) {
  if (Case.OneBit) return PsPdfOneBitPicture(Width, Height);
  if (Case.Tolerance > 0) {
    auto Smooth = std::make_unique<TIEBitmap>(Width, Height, ie24RGB);
    for (Integer Y = 0; Y < Height; ++Y)
      for (Integer X = 0; X < Width; ++X)
        Smooth->SetPixel24(X, Y, TIERGBTriple{Byte(60 + X * 3), Byte(90 + Y * 4), Byte(200 - X * 2 - Y)});
    return Smooth;
  }
  return PsPdfColourPicture(Width, Height);
}

// Ghostscript's rendering at 72 dots per inch into a PPM file; its messages.
std::string RenderWithGhostscript(const std::string& Document, const std::string& Output,
                                  const std::string& Options) {
  return ShellOutput("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=ppmraw -r72 " + Options +
                     " -sOutputFile=" + Output + " " + Document + " 2>&1");
}

// pdfinfo's value of a field, blanks squeezed.
std::string PdfInfoField(const std::string& Info, const std::string& Field) {
  const size_t At = Info.find(Field + ":");
  if (At == std::string::npos) return {};
  const size_t Start = Info.find_first_not_of(' ', At + Field.size() + 1);
  std::string Value = Info.substr(Start, Info.find('\n', Start) - Start);
  for (size_t Double; (Double = Value.find("  ")) != std::string::npos;) Value.erase(Double, 1);
  return Value;
}

std::string CaseName(const TCase& Case) {
  return std::string(Case.OneBit ? "1-bit" : "colour") + " compression " + std::to_string(Case.Compression);
}

TEST(PsPdfRender, PostScriptRendersBackToThePicture) {
  if (!ToolPresent("gs")) GTEST_SKIP() << "Ghostscript (gs) is not installed";
  const TCase Cases[] = {{false, 0, 0}, {false, 1, 0}, {false, 3, 12}, {true, 0, 0},
                         {true, 1, 0},  {true, 2, 0},  {true, 3, 0}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(CaseName(Case));
    auto Picture = PictureOf(Case);
    TIOParamsVals Params(nullptr);
    Params.PsCompression = Case.Compression;
    Params.PsPaperWidth = Width;
    Params.PsPaperHeight = Height;
    TMemoryStream Stream;
    TTestProgress Progress;
    PostScriptAddPage(&Stream, Picture.get(), Params, Progress.Progress);
    TTempFile In("page.ps");
    In.Write(Document(Stream));
    TTempFile Out("page.ppm");
    EXPECT_EQ(RenderWithGhostscript(In.Path(), Out.Path(),
                                    "-g" + std::to_string(Width) + "x" + std::to_string(Height)),
              "");
    const Integer Difference = LargestDifference(Picture.get(), ReadPPM(Out.Read()));
    EXPECT_GE(Difference, 0);
    EXPECT_LE(Difference, Case.Tolerance);
  }
}

TEST(PsPdfRender, PdfRendersBackToThePictureAndReadsCleanly) {
  if (!ToolPresent("pdfinfo") || !ToolPresent("gs"))
    GTEST_SKIP() << "poppler-utils (pdfinfo) or Ghostscript (gs) is not installed";
  const TCase Cases[] = {{false, 0, 0}, {false, 2, 0}, {false, 4, 12}, {false, 5, 0}, {true, 0, 0},
                         {true, 1, 0},  {true, 2, 0},  {true, 3, 0},   {true, 4, 0},  {true, 5, 0}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(CaseName(Case));
    auto Picture = PictureOf(Case);
    TIOParamsVals Params(nullptr);
    Params.PdfCompression = Case.Compression;
    Params.PdfPaperWidth = Width;
    Params.PdfPaperHeight = Height;
    TMemoryStream Stream;
    TTestProgress Progress;
    PdfAddPage(&Stream, Picture.get(), Params, Progress.Progress);
    TTempFile In("page.pdf");
    In.Write(Document(Stream));
    TTempFile Out("page.ppm");
    // The media box decides the size; Ghostscript names any repair it had to make (a wrong
    // offset, a bad stream length).
    EXPECT_EQ(RenderWithGhostscript(In.Path(), Out.Path(), ""), "");
    const Integer Difference = LargestDifference(Picture.get(), ReadPPM(Out.Read()));
    EXPECT_GE(Difference, 0);
    EXPECT_LE(Difference, Case.Tolerance);

    const std::string Info = ShellOutput("pdfinfo " + In.Path() + " 2>&1");
    EXPECT_EQ(PdfInfoField(Info, "Pages"), "1") << Info;
    EXPECT_EQ(PdfInfoField(Info, "Page size"), "37 x 23 pts") << Info;
    EXPECT_EQ(Info.find("rror"), std::string::npos) << Info;
  }
}

}  // namespace
