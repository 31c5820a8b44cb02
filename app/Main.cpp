// The unit's working state.
#include "app/Main.h"

#include <algorithm>

#include "platform/classes/Bitmap.h"
#include "platform/classes/JPEGImage.h"
#include "platform/system/IniFiles.h"
#include "platform/system/Math.h"

std::unique_ptr<TBitmap> ResultBitmap;
std::unique_ptr<TBitmap> SourceBitmap;
std::unique_ptr<TBitmap> PatternBitmap;
std::unique_ptr<TBitmap> MaskBitmap;
std::unique_ptr<TBitmap> GlassFXBitmap;
std::unique_ptr<TBitmap> TextBitmap;
std::unique_ptr<TBitmap> DrawingBitmap;
std::unique_ptr<TBitmap> DrawingHistoryBitmap;
std::unique_ptr<TJPEGImage> ResultJpeg;

Byte Ready = 0;
Byte Busy = 0;
Byte BuildRunning = 0;
Byte AbortRequested = 0;
Byte SourceLoaded = 0;
Byte MaskLoaded = 0;
Byte TextMode = 0;
Byte VideoMode = 0;
Byte PatternType = 0;

Byte GridPx = 20;
Integer Rim = 0;
Integer CellsX = 0, CellsY = 0;
Integer NodeCount = 0;
Integer PatternSize = 0;
Integer OffsetX = 0, OffsetY = 0;
Integer SeedCount = 0;
Integer ColorCounter = 0;
TRect CropRect;
Integer PointCount = 0;
Byte DrawingActive = 0;
std::vector<TPoint> KaleidoPoints;

TNodeTable NodeX, NodeY;
TNodeTable MeshCentreX, MeshCentreY;
std::vector<Integer> CellCentreX(1), CellCentreY(1), CellRadius(1);

std::string ExeDir, LanguagesDir, TempDir, DataDir, ResultsDir, SourcesDir, ProjectsDir, ScriptsDir;
std::string SourceFileName, GlassFXFileName, TempMovieName;
std::unique_ptr<TIniFile> SettingsFile;

TForm1* Form1 = nullptr;

void TNodeTable::Reset(Integer N) {
  FStride = Max(N, 0) + 1;
  FData.assign(static_cast<std::size_t>(FStride) * FStride, 0.0f);
}

void EnsureCellCapacity(Integer Index) {
  const std::size_t Needed = static_cast<std::size_t>(Index) + 1;
  if (CellCentreX.size() >= Needed) return;
  const std::size_t Size = std::max(Needed, 2 * CellCentreX.size());
  CellCentreX.resize(Size);
  CellCentreY.resize(Size);
  CellRadius.resize(Size);
}

void AddSeed(Integer X, Integer Y, Integer Radius) {
  ++SeedCount;
  EnsureCellCapacity(SeedCount);
  CellCentreX[SeedCount] = X;
  CellCentreY[SeedCount] = Y;
  CellRadius[SeedCount] = Radius;
}
