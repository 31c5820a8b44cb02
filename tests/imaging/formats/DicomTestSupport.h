#pragma once
// DICOM fixtures made at test time with dcmtk (dump2dcm from a text dump and raw pixel bytes,
// img2dcm from a BMP or JPEG, dcmconv, dcmcrle, dcmcjpeg for other transfer syntaxes), dcm2pnm
// as the outside reader, and our reader's picture as samples in the order dcm2pnm writes them.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/core/iebitmap.h"
#include "imaging/core/ielists.h"
#include "imaging/formats/iedicom.h"
#include "imaging/io/zezudidioparams.h"
#include "tests/imaging/formats/FormatsTestSupport.h"

inline bool DicomToolsPresent() {
  for (const char* Tool : {"dump2dcm", "img2dcm", "dcm2pnm", "dcmconv", "dcmcrle", "dcmcjpeg"})
    if (!ToolPresent(Tool)) return false;
  return true;
}

#define SKIP_WITHOUT_DCMTK() \
  if (!DicomToolsPresent()) GTEST_SKIP() << "dcmtk (Debian package dcmtk) is not installed"

// A picture described for dump2dcm: its attributes and its pixel data, little-endian.
struct TDicomSource {
  Integer Columns = 5;
  Integer Rows = 4;
  Integer Frames = 1;
  Integer SamplesPerPixel = 1;
  Integer BitsAllocated = 16;
  Integer BitsStored = 12;
  Integer PixelRepresentation = 0;
  Integer PlanarConfiguration = 0;
  std::string Photometric = "MONOCHROME2";
  std::string Extra;  // further dump lines
  std::vector<Byte> Pixels;

  void SetWords(const std::vector<Integer>& Samples) {
    Pixels.clear();
    for (const Integer S : Samples) {
      Pixels.push_back(static_cast<Byte>(S & 0xFF));
      Pixels.push_back(static_cast<Byte>((S >> 8) & 0xFF));
    }
  }
};

inline std::string RunTool(const std::string& Command) {
  return ShellOutput(Command + " 2>&1");
}

// A folder of fixtures, removed with the object.
class TDicomFolder {
 public:
  std::string operator/(const std::string& Name) const { return FDir + Name; }

 private:
  TTempFile FAnchor{"anchor"};
  std::string FDir = FAnchor.Path().substr(0, FAnchor.Path().rfind('/') + 1);
};

// The file Name in Folder, written by dump2dcm from Source.
inline std::string MakeDicom(const TDicomFolder& Folder, const std::string& Name, const TDicomSource& S) {
  const std::string Raw = Folder / (Name + ".raw");
  std::ofstream(Raw, std::ios::binary)
      .write(reinterpret_cast<const char*>(S.Pixels.data()), static_cast<std::streamsize>(S.Pixels.size()));
  std::ostringstream Dump;
  Dump << "(0008,0016) UI [1.2.840.10008.5.1.4.1.1.7]\n(0008,0018) UI [1.2.3.4.5]\n"
       << "(0010,0010) PN [Test^Patient]\n(0028,0002) US " << S.SamplesPerPixel << "\n"
       << "(0028,0004) CS [" << S.Photometric << "]\n";
  if (S.SamplesPerPixel > 1) Dump << "(0028,0006) US " << S.PlanarConfiguration << "\n";
  if (S.Frames > 1) Dump << "(0028,0008) IS [" << S.Frames << "]\n";
  Dump << "(0028,0010) US " << S.Rows << "\n(0028,0011) US " << S.Columns << "\n"
       << "(0028,0100) US " << S.BitsAllocated << "\n(0028,0101) US " << S.BitsStored << "\n"
       << "(0028,0102) US " << S.BitsStored - 1 << "\n(0028,0103) US " << S.PixelRepresentation << "\n"
       << S.Extra << "(7fe0,0010) " << (S.BitsAllocated > 8 ? "OW" : "OB") << " =" << Raw << "\n";
  const std::string DumpFile = Folder / (Name + ".dump");
  std::ofstream(DumpFile) << Dump.str();
  const std::string Out = Folder / Name;
  RunTool("dump2dcm '" + DumpFile + "' '" + Out + "'");
  return Out;
}

// Runs Tool In Out with options (dcmconv +tb, dcmcrle, dcmcjpeg +e1, ...); returns Out.
inline std::string ConvertDicom(const std::string& Tool, const std::string& Options, const std::string& In,
                                const std::string& Out) {
  RunTool(Tool + " " + Options + " '" + In + "' '" + Out + "'");
  return Out;
}

// A PNM as dcm2pnm writes it: binary 8-bit P5/P6 or plain P2/P3 (16 bits with +opw).
struct TPnmPicture {
  Integer Width = 0, Height = 0, Channels = 0, Max = 0;
  std::vector<Integer> Samples;  // rows top to bottom, red green blue for colour
};

inline TPnmPicture ParseDcm2pnm(const std::vector<Byte>& Bytes) {
  TPnmPicture P;
  std::string Text(Bytes.begin(), Bytes.end());
  std::istringstream In(Text);
  std::string Magic;
  In >> Magic >> P.Width >> P.Height >> P.Max;
  P.Channels = Magic == "P3" || Magic == "P6" ? 3 : 1;
  const size_t Count = static_cast<size_t>(P.Width) * P.Height * P.Channels;
  if (Magic == "P5" || Magic == "P6") {
    In.get();
    const size_t Start = static_cast<size_t>(In.tellg());
    for (size_t I = 0; I < Count && Start + I < Bytes.size(); ++I) P.Samples.push_back(Bytes[Start + I]);
  } else {
    for (Integer S; P.Samples.size() < Count && In >> S;) P.Samples.push_back(S);
  }
  return P;
}

// dcm2pnm's picture of File with Options (+F n is 1-based).
inline TPnmPicture Dcm2pnm(const std::string& File, const std::string& Options) {
  TTempFile Out("out.pnm");
  RunTool("dcm2pnm " + Options + " '" + File + "' '" + Out.Path() + "'");
  return ParseDcm2pnm(Out.Read());
}

// Our picture in the same form: grey levels, or red green blue.
inline TPnmPicture PictureSamples(TIEBitmap& B) {
  TPnmPicture P;
  P.Width = B.GetWidth();
  P.Height = B.GetHeight();
  const TIEPixelFormat Format = B.GetPixelFormat();
  P.Channels = Format == ie24RGB || Format == ieRGB48 ? 3 : 1;
  P.Max = Format == ie16g || Format == ieRGB48 ? 65535 : 255;
  for (Integer Y = 0; Y < P.Height; ++Y) {
    const void* Row = B.GetScanline(Y);
    for (Integer X = 0; X < P.Width; ++X) {
      switch (Format) {
        case ie8g:
          P.Samples.push_back(static_cast<const Byte*>(Row)[X]);
          break;
        case ie16g:
          P.Samples.push_back(static_cast<const Word*>(Row)[X]);
          break;
        case ieRGB48:
          for (Integer C = 0; C < 3; ++C) P.Samples.push_back(static_cast<const Word*>(Row)[3 * X + C]);
          break;
        default:
          for (Integer C = 2; C >= 0; --C) P.Samples.push_back(static_cast<const Byte*>(Row)[3 * X + C]);
          break;
      }
    }
  }
  return P;
}

inline ::testing::AssertionResult SamePicture(const TPnmPicture& Ours, const TPnmPicture& Theirs,
                                              Integer Tolerance) {
  if (Ours.Width != Theirs.Width || Ours.Height != Theirs.Height || Ours.Channels != Theirs.Channels ||
      Ours.Max != Theirs.Max || Ours.Samples.size() != Theirs.Samples.size())
    return ::testing::AssertionFailure()
           << "shape " << Ours.Width << "x" << Ours.Height << "x" << Ours.Channels << " max " << Ours.Max
           << " against " << Theirs.Width << "x" << Theirs.Height << "x" << Theirs.Channels << " max "
           << Theirs.Max;
  for (size_t I = 0; I < Ours.Samples.size(); ++I)
    if (std::abs(Ours.Samples[I] - Theirs.Samples[I]) > Tolerance)
      return ::testing::AssertionFailure()
             << "sample " << I << ": " << Ours.Samples[I] << " against " << Theirs.Samples[I];
  return ::testing::AssertionSuccess();
}

// Our reader on a file: the picture, the parameters and the abort flag.
struct TDicomRead {
  TIEBitmap Bitmap;
  TIOParamsVals Params;
  bool Aborted = false;
};

inline std::unique_ptr<TDicomRead> ReadDicomBytes(const std::vector<Byte>& Bytes, Integer ImageIndex = 0,
                                                  bool Preview = false) {
  auto R = std::make_unique<TDicomRead>();
  R->Params.SetImageIndex(ImageIndex);
  TMemoryStream Stream;
  LoadBytes(Stream, Bytes);
  TTestProgress Progress;
  DicomReadStream(&Stream, R->Params, &R->Bitmap, Progress.Progress, Preview);
  R->Aborted = Progress.Aborting;
  return R;
}

inline std::unique_ptr<TDicomRead> ReadDicomFile(const std::string& Path, Integer ImageIndex = 0) {
  std::ifstream In(Path, std::ios::binary);
  return ReadDicomBytes({std::istreambuf_iterator<char>(In), {}}, ImageIndex);
}
