#include "app/Patterns.h"

#include <cmath>

#include "app/Functions.h"
#include "app/Languages.h"
#include "app/Main.h"
#include "app/PatternHost.h"
#include "app/PatternSupport.h"
#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"

namespace {

// The undeformed position of node index I (1-based) of N nodes over S pixels.
Single NodeBase(Integer I, Integer N, Integer S) {
  return static_cast<Single>((I - 1) * S) / static_cast<Single>(N - 1);
}

// Runs Place over every node (i outer, j inner), storing each node before the next; a node
// with i > 1 and j > 1 completes the cell to its upper left, whose centre becomes a seed.
template <class TPlace>
void BuildMesh(TPlace Place) {
  ColorCounter = 0;
  SeedCount = 0;
  TPatternHost& Host = PatternHost();
  const Integer N = NodeCount, S = PatternSize;
  for (Integer I = 1; I <= N; ++I) {
    Host.LetMessagesRun();
    const Single X0 = NodeBase(I, N, S);
    for (Integer J = 1; J <= N; ++J) {
      const Single Y0 = NodeBase(J, N, S);
      Place(I, J, X0, Y0, NodeX(I, J), NodeY(I, J));
      if (I > 1 && J > 1) {
        const Single Mx = (NodeX(I, J) + NodeX(I - 1, J - 1)) / 2;
        const Single My = (NodeY(I, J - 1) + NodeY(I - 1, J)) / 2;
        MeshCentreX(I - 1, J - 1) = Mx;
        MeshCentreY(I - 1, J - 1) = My;
        AddSeed(static_cast<Integer>(Round(Mx)), static_cast<Integer>(Round(My)));
      }
      if (AbortRequested == 1) return;
    }
  }
}

// The tube deformation of one coordinate Q0 of a pattern of S pixels.
Single TubeCoordinate(Single Q0, Integer S, Single F, Single G) {
  const Single H = static_cast<Single>(S) / 2;
  const Single Dq = H - Q0;
  const Single A = std::fabs(Dq / H) * PatternPi / 2;
  Single Sv = std::cos(A) * F + (std::sin(PatternPi + A) + 1) * (1 - F);
  if (Sv > 0) Sv = std::pow(Sv, G);
  return Dq > 0 ? (1 - Sv) * H + static_cast<Single>(S) / 2 : static_cast<Single>(S) / 2 - (1 - Sv) * H;
}

// f and g of the tubes: P1 over its slider's range plus one half, and P2 / 100.
void TubeParameters(Single& F, Single& G) {
  const TPatternHost& Host = PatternHost();
  const Integer Range = Host.ParamMaximum(1) - Host.ParamMinimum(1);
  F = ParamF(1) / static_cast<Single>(Max(Range, 1)) + 0.5f;
  G = ParamF(2) / 100;
}

}  // namespace

Single ParamF(Integer Index) {
  return static_cast<Single>(PatternHost().ParamPosition(Index));
}

TCanvas* StartPatternSquare() {
  TBitmap* B = ResultBitmap.get();
  const Integer S = PatternSize;
  TCanvas* Canvas = B->GetCanvas();
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetBrush()->SetColor(clWhite);
  // The new square is made white with the brush (the old result is not carried over), so
  // the rectangle only needs its outline.
  B->SetPixelFormat(pf24bit);
  B->SetSize(0, 0);
  B->SetSize(S, S);
  Canvas->GetPen()->SetColor(clBlack);
  Canvas->GetBrush()->SetStyle(bsClear);
  Canvas->Rectangle(0, 0, S, S);
  Canvas->GetBrush()->SetStyle(bsSolid);
  Canvas->GetPen()->SetWidth(PatternHost().PenWidth());
  return Canvas;
}

void ShowGeneratorStatus(Byte Type) {
  if (VideoMode == 1) return;
  TPatternHost& Host = PatternHost();
  Host.ShowStatusText(VariableTexts[vtCreatingPinch + Type]);
  Host.LetMessagesRun();
}

void CreatePinch() {
  ShowGeneratorStatus(ptPinch);
  const Single P = ParamF(1) / 10;
  const Integer N = NodeCount, S = PatternSize;
  const Single C = static_cast<Single>(S) / 2;
  BuildMesh([&](Integer I, Integer J, Single X0, Single Y0, Single& Nx, Single& Ny) {
    Single D = std::sqrt(Sqr(C - Y0) + Sqr(C - X0));
    const Extended M = Min(std::sqrt(Sqr(static_cast<Extended>(C - Y0)) + Sqr(static_cast<Extended>(C))),
                           std::sqrt(Sqr(static_cast<Extended>(C)) + Sqr(static_cast<Extended>(C - X0))));
    // Double precision is ample for results kept as single floats, and much quicker.
    const Single A =
        static_cast<Single>(std::atan2(static_cast<Double>(C - Y0), static_cast<Double>(C - X0)));
    if (D != 0 && I != 1 && I != N && J != 1 && J != N) {
      Single H = static_cast<Single>(-4 * S) / D + 24;
      if (H > 24) H = 24;
      if (H < 10) H = 10;
      D = static_cast<Single>(std::pow(static_cast<Double>(D / M), static_cast<Double>(P / H)) * D);
    }
    Nx = std::sin(A) * D + C;
    Ny = std::cos(A) * D + C;
  });
}

void CreateVerCylinder() {
  ShowGeneratorStatus(ptVerCylinder);
  Single F, G;
  TubeParameters(F, G);
  const Integer S = PatternSize;
  BuildMesh([&](Integer, Integer, Single X0, Single Y0, Single& Nx, Single& Ny) {
    Nx = X0;
    Ny = TubeCoordinate(Y0, S, F, G);
  });
}

void CreateHorCylinder() {
  ShowGeneratorStatus(ptHorCylinder);
  Single F, G;
  TubeParameters(F, G);
  const Integer S = PatternSize;
  BuildMesh([&](Integer, Integer, Single X0, Single Y0, Single& Nx, Single& Ny) {
    Nx = TubeCoordinate(X0, S, F, G);
    Ny = Y0;
  });
}

bool DrawMesh() {
  const Integer N = NodeCount;
  TBitmap* B = ResultBitmap.get();
  TCanvas* Canvas = StartPatternSquare();
  TPatternHost& Host = PatternHost();
  Host.SetProgressLimit(N * N);
  const bool Colors = Host.PatternColorsOn();
  const Single Mode = Host.PatternColorMode();
  for (Integer I = 2; I <= N; ++I) {
    Host.LetMessagesRun();
    for (Integer J = 1; J <= N - 1; ++J) {
      Canvas->MoveTo(Px(NodeX(I, J)), Px(NodeY(I, J)));
      Canvas->LineTo(Px(NodeX(I, J + 1)), Px(NodeY(I, J + 1)));
      Canvas->MoveTo(Px(NodeX(I - 1, J + 1)), Px(NodeY(I - 1, J + 1)));
      Canvas->LineTo(Px(NodeX(I, J + 1)), Px(NodeY(I, J + 1)));
      if (Colors) {
        // The cell (i - 1, j) is closed now.
        const Single Cx = MeshCentreX(I - 1, J), Cy = MeshCentreY(I - 1, J);
        Canvas->GetBrush()->SetColor(NextPatternColor(Mode));
        FillCell(B, Px(Cx), Px(Cy));
      }
      if (AbortRequested == 1) return false;
      if (VideoMode == 0 && N * N > 500) Host.ShowProgress(ColorCounter);
    }
  }
  return true;
}

bool RunGenerator(Byte Type) {
  switch (Type) {
    case ptPinch:
      CreatePinch();
      return DrawMesh();
    case ptCircles:
      CreateCircles();
      break;
    case ptTwirls:
      CreateTwirls();
      break;
    case ptHexagons:
      CreateHexagons();
      break;
    case ptVerCylinder:
      CreateVerCylinder();
      return DrawMesh();
    case ptHorCylinder:
      CreateHorCylinder();
      return DrawMesh();
    case ptSpheres:
      CreateSpheres();
      break;
    case ptSpirograph:
      CreateSpirograph();
      break;
    default:
      break;
  }
  return true;
}
