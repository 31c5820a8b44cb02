#include "app/CellFill.h"

#include <cstdint>
#include <cstring>

#include "platform/classes/Bitmap.h"
#include "platform/system/Math.h"

namespace {
// Black pixels bound a cell.
inline bool IsOpen(const Byte* P) {
  return (P[0] | P[1] | P[2]) != 0;
}

// True when the four pixels at P are unmarked (Seen) and open: twelve bytes none of them zero
// are four open pixels, so long runs are walked four pixels a step.
inline bool FourOpen(const Byte* Seen, const Byte* P) {
  std::uint32_t Marks, W[3];
  std::memcpy(&Marks, Seen, sizeof(Marks));
  std::memcpy(W, P, sizeof(W));
  return Marks == 0 && !HasZeroByte(W[0]) && !HasZeroByte(W[1]) && !HasZeroByte(W[2]);
}
}  // namespace

void TCellFill::Bind(TBitmap* Bitmap) {
  ClearMarks();
  const TBitmapRows Rows(Bitmap);
  FFirst = Rows.First;
  FStride = Rows.Stride;
  FWidth = Rows.First != nullptr ? Rows.Width : 0;
  FHeight = Rows.First != nullptr ? Rows.Height : 0;
  // The marks are all clear between fills, so a smaller picture reuses them as they are.
  const std::size_t Needed = static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight);
  if (FVisited.size() < Needed) FVisited.assign(Needed, 0);
  FRuns.clear();
}

void TCellFill::Release() {
  ClearMarks();
  FRuns.clear();
  std::vector<Byte>().swap(FVisited);
  FFirst = nullptr;
  FWidth = FHeight = 0;
}

void TCellFill::Paint(const TRun& Run) const {
  Byte* P = Row(Run.Y) + 3 * static_cast<NativeInt>(Run.Left);
  for (Integer X = Run.Left; X < Run.Right; ++X, P += 3) {
    P[0] = FPixel[0];
    P[1] = FPixel[1];
    P[2] = FPixel[2];
  }
}

void TCellFill::TakeRun(Integer X, Integer Y) {
  const Byte* R = Row(Y);
  const Byte* Seen = Visited(Y);
  Integer Left = X, Right = X + 1;
  while (Left >= 4 && FourOpen(Seen + Left - 4, R + 3 * (Left - 4))) Left -= 4;
  while (Left > 0 && Seen[Left - 1] == 0 && IsOpen(R + 3 * (Left - 1))) --Left;
  while (Right + 4 <= FWidth && FourOpen(Seen + Right, R + 3 * Right)) Right += 4;
  while (Right < FWidth && Seen[Right] == 0 && IsOpen(R + 3 * Right)) ++Right;
  std::memset(Visited(Y) + Left, 1, static_cast<std::size_t>(Right - Left));
  const TRun Run{Y, Left, Right};
  FRuns.push_back(Run);
  FPending.push_back(Run);
}

void TCellFill::SearchRow(Integer Y, Integer Left, Integer Right) {
  const Byte* R = Row(Y);
  const Byte* Seen = Visited(Y);
  for (Integer X = Left; X < Right; ++X) {
    if (Seen[X] != 0 || !IsOpen(R + 3 * X)) continue;
    TakeRun(X, Y);
    X = FRuns.back().Right;
  }
}

void TCellFill::ClearMarks() {
  if (!FMarksHeld) return;
  for (const TRun& Run : FRuns)
    std::memset(Visited(Run.Y) + Run.Left, 0, static_cast<std::size_t>(Run.Right - Run.Left));
  FMarksHeld = false;
}

bool TCellFill::Find(Integer X, Integer Y) {
  ClearMarks();
  FRuns.clear();
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight || !IsOpen(Row(Y) + 3 * X)) return false;
  FMarksHeld = true;
  FPending.clear();
  TakeRun(X, Y);
  while (!FPending.empty()) {
    const TRun Run = FPending.back();
    FPending.pop_back();
    if (Run.Y > 0) SearchRow(Run.Y - 1, Run.Left, Run.Right);
    if (Run.Y + 1 < FHeight) SearchRow(Run.Y + 1, Run.Left, Run.Right);
  }
  return true;
}

bool TCellFill::Fill(Integer X, Integer Y, TColor Color) {
  if (!Find(X, Y)) return false;
  Repaint(Color);
  return true;
}

void TCellFill::Prefetch(Integer X, Integer Y, Integer Reach) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  const Integer Left = Max(X - Reach, 0), Right = Min(X + Reach, FWidth - 1);
  const std::size_t Width = static_cast<std::size_t>(FWidth);
  for (Integer Yy = Max(Y - Reach, 0), Last = Min(Y + Reach, FHeight - 1); Yy <= Last; ++Yy) {
    __builtin_prefetch(Row(Yy) + 3 * Left, 1);
    __builtin_prefetch(Row(Yy) + 3 * Right + 2, 1);
    __builtin_prefetch(FVisited.data() + Yy * Width + static_cast<std::size_t>(Left), 1);
  }
}

void TCellFill::Repaint(TColor Color) {
  SetPixelColor(FPixel, Color);
  for (const TRun& Run : FRuns) Paint(Run);
  ClearMarks();
}

TCellFill& SharedCellFill() {
  static TCellFill Fill;
  return Fill;
}
