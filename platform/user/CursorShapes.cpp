// The standard cursors, drawn in code on a 32 x 32 grid: a black body from polygons, bars and
// rings (a pixel belongs to a shape when its centre does), then a white outline one pixel wide
// around it.
#include <cmath>
#include <initializer_list>
#include <map>
#include <vector>

#include "platform/gdi/Dib.h"
#include "platform/user/CursorInternals.h"

namespace {

constexpr Integer Size = 32;

struct TPt {
  double X, Y;
};

class TShape {
 public:
  void Polygon(std::initializer_list<TPt> Points) { Polygon(std::vector<TPt>(Points)); }
  void Polygon(const std::vector<TPt>& P) {
    Each([&](double X, double Y) {
      bool In = false;
      for (std::size_t I = 0, J = P.size() - 1; I < P.size(); J = I++)
        if ((P[I].Y > Y) != (P[J].Y > Y) && X < (P[J].X - P[I].X) * (Y - P[I].Y) / (P[J].Y - P[I].Y) + P[I].X)
          In = !In;
      return In;
    });
  }
  // Pixels Left..Right-1, Top..Bottom-1.
  void Bar(Integer Left, Integer Top, Integer Right, Integer Bottom) {
    Each([&](double X, double Y) { return X > Left && X < Right && Y > Top && Y < Bottom; });
  }
  void Ring(TPt C, double Outer, double Inner) {
    Each([&](double X, double Y) {
      const double D = std::hypot(X - C.X, Y - C.Y);
      return D <= Outer && D >= Inner;
    });
  }
  void Line(TPt A, TPt B, double HalfWidth) {
    Each([&](double X, double Y) {
      const double Dx = B.X - A.X, Dy = B.Y - A.Y;
      double T = ((X - A.X) * Dx + (Y - A.Y) * Dy) / (Dx * Dx + Dy * Dy);
      T = std::fmax(0.0, std::fmin(1.0, T));
      return std::hypot(X - (A.X + T * Dx), Y - (A.Y + T * Dy)) <= HalfWidth;
    });
  }
  // A double-headed arrow through the centre at Angle degrees (0: left-right), Scale of full size.
  void DoubleArrow(double Angle, double Scale) {
    static const TPt Base[] = {{-11, 0}, {-6, -5}, {-6, -1.5}, {6, -1.5}, {6, -5},
                               {11, 0},  {6, 5},   {6, 1.5},   {-6, 1.5}, {-6, 5}};
    const double R = Angle * 3.14159265358979 / 180, C = std::cos(R), S = std::sin(R);
    std::vector<TPt> P;
    for (const TPt& B : Base)
      P.push_back({16 + Scale * (B.X * C - B.Y * S), 16 + Scale * (B.X * S + B.Y * C)});
    Polygon(P);
  }
  void Arrow() { Polygon({{1, 0.6}, {1, 22}, {6, 17}, {9.5, 24.5}, {12.5, 23.3}, {9, 16}, {16.4, 16}}); }
  void Hourglass(double X, double Y, double W, double H) {
    Bar(static_cast<Integer>(X), static_cast<Integer>(Y), static_cast<Integer>(X + W),
        static_cast<Integer>(Y + 2));
    Bar(static_cast<Integer>(X), static_cast<Integer>(Y + H - 2), static_cast<Integer>(X + W),
        static_cast<Integer>(Y + H));
    const double L = X + 1, R = X + W - 1, T = Y + 2, B = Y + H - 2, M = (T + B) / 2, Mx = (L + R) / 2;
    Polygon({{L, T},
             {R, T},
             {R, T + 2},
             {Mx + 1, M},
             {R, B - 2},
             {R, B},
             {L, B},
             {L, B - 2},
             {Mx - 1, M},
             {L, T + 2}});
  }

  // The cursor: body black, outline white, the rest transparent (straight alpha).
  HCURSOR Make(Integer XHotspot, Integer YHotspot) const {
    HBITMAP Color = CreateBitmap(Size, Size, 1, 32, nullptr);
    HBITMAP Mask = CreateBitmap(Size, Size, 1, 1, nullptr);
    if (Color == nullptr || Mask == nullptr) return nullptr;
    for (Integer Y = 0; Y < Size; ++Y) {
      auto* Pixels = reinterpret_cast<DWORD*>(Color->Surface.Row(Y));
      Byte* MaskRow = Mask->Surface.Row(Y);
      for (Integer X = 0; X < Size; ++X) {
        DWORD P = 0;
        if (At(X, Y))
          P = 0xFF000000u;
        else if (NearBody(X, Y))
          P = 0xFFFFFFFFu;
        Pixels[X] = P;
        if (P == 0) MaskRow[X >> 3] |= static_cast<Byte>(0x80 >> (X & 7));
      }
    }
    HCURSOR C = NewIcon(Color, Mask, false, XHotspot, YHotspot);
    if (C != nullptr) C->Shared = true;
    return C;
  }

 private:
  bool Body[Size][Size] = {};

  template <typename F>
  void Each(F Inside) {
    for (Integer Y = 0; Y < Size; ++Y)
      for (Integer X = 0; X < Size; ++X)
        if (Inside(X + 0.5, Y + 0.5)) Body[Y][X] = true;
  }
  bool At(Integer X, Integer Y) const { return X >= 0 && Y >= 0 && X < Size && Y < Size && Body[Y][X]; }
  bool NearBody(Integer X, Integer Y) const {
    for (Integer Dy = -1; Dy <= 1; ++Dy)
      for (Integer Dx = -1; Dx <= 1; ++Dx)
        if (At(X + Dx, Y + Dy)) return true;
    return false;
  }
};

HCURSOR Draw(std::uintptr_t Id) {
  TShape S;
  switch (Id) {
    case 32512:  // IDC_ARROW
      S.Arrow();
      return S.Make(1, 1);
    case 32513:  // IDC_IBEAM
      S.Bar(12, 5, 19, 6);
      S.Bar(15, 5, 16, 26);
      S.Bar(12, 25, 19, 26);
      return S.Make(15, 15);
    case 32514:  // IDC_WAIT
      S.Hourglass(8, 4, 15, 23);
      return S.Make(15, 15);
    case 32515:  // IDC_CROSS
      S.Bar(15, 4, 16, 27);
      S.Bar(4, 15, 27, 16);
      return S.Make(15, 15);
    case 32516:  // IDC_UPARROW
      S.Polygon({{15.5, 2}, {23, 10}, {18, 10}, {18, 27}, {13, 27}, {13, 10}, {8, 10}});
      return S.Make(15, 2);
    case 32640:  // IDC_SIZE
    case 32646:  // IDC_SIZEALL
      S.DoubleArrow(0, 1);
      S.DoubleArrow(90, 1);
      return S.Make(15, 15);
    case 32641:  // IDC_ICON
      S.Bar(8, 8, 24, 10);
      S.Bar(8, 22, 24, 24);
      S.Bar(8, 10, 10, 22);
      S.Bar(22, 10, 24, 22);
      return S.Make(15, 15);
    case 32642:  // IDC_SIZENWSE
      S.DoubleArrow(45, 0.85);
      return S.Make(15, 15);
    case 32643:  // IDC_SIZENESW
      S.DoubleArrow(-45, 0.85);
      return S.Make(15, 15);
    case 32644:  // IDC_SIZEWE
      S.DoubleArrow(0, 1);
      return S.Make(15, 15);
    case 32645:  // IDC_SIZENS
      S.DoubleArrow(90, 1);
      return S.Make(15, 15);
    case 32648:  // IDC_NO
      S.Ring({16, 16}, 10.5, 7.5);
      S.Line({9.5, 9.5}, {22.5, 22.5}, 1.6);
      return S.Make(15, 15);
    case 32649:  // IDC_HAND
      S.Bar(8, 1, 12, 14);
      S.Bar(12, 9, 21, 14);
      S.Bar(5, 13, 21, 24);
      S.Bar(7, 24, 19, 28);
      S.Line({6, 17}, {3, 12}, 1.6);
      return S.Make(9, 1);
    case 32650:  // IDC_APPSTARTING
      S.Arrow();
      S.Hourglass(18, 14, 9, 13);
      return S.Make(1, 1);
    case 32651:  // IDC_HELP
      S.Arrow();
      for (const auto& [A, B] : {std::pair<TPt, TPt>{{19, 5}, {21, 3}},
                                 {{21, 3}, {25, 3}},
                                 {{25, 3}, {27, 5}},
                                 {{27, 5}, {27, 8}},
                                 {{27, 8}, {23, 11}},
                                 {{23, 11}, {23, 14}}})
        S.Line(A, B, 1.2);
      S.Bar(22, 16, 25, 19);
      return S.Make(1, 1);
    default:
      return nullptr;
  }
}

}  // namespace

HCURSOR StandardCursor(std::uintptr_t Id) {
  // Shared for the life of the program (never freed, not even at exit).
  static auto* Made = new std::map<std::uintptr_t, HCURSOR>;
  auto It = Made->find(Id);
  if (It != Made->end()) return It->second;
  HCURSOR C = Draw(Id);
  if (C != nullptr) Made->emplace(Id, C);
  return C;
}
