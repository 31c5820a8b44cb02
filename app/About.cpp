#include "app/About.h"

#include <memory>

#include "app/Functions.h"
#include "app/Main.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ExtCtrls.h"
#include "platform/classes/StdCtrls.h"

TForm5* Form5 = nullptr;

namespace {
constexpr Integer PictureW = 360, PictureH = 200, Tile = 20;

// The about picture: a small mosaic of tiles shading from blue to amber.
std::unique_ptr<TBitmap> AboutPicture() {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf24bit);
  B->SetSize(PictureW, PictureH);
  const TBitmapRows Rows(B.get());
  for (Integer Y = 0; Y < PictureH; ++Y) {
    Byte* Row = Rows[Y];
    for (Integer X = 0; X < PictureW; ++X) {
      const bool Grout = X % Tile == 0 || Y % Tile == 0;
      const Integer T = (X / Tile + Y / Tile) * 255 / (PictureW / Tile + PictureH / Tile);
      const TColor C =
          Grout ? static_cast<TColor>(0x303030)
                : static_cast<TColor>((40 + T * 3 / 4) | ((60 + T / 2) << 8) | ((200 - T * 3 / 4) << 16));
      SetPixelColor(Row + 3 * X, C);
    }
  }
  return B;
}

TLabel* MakeLabel(TForm5* Form, Integer Left, Integer Top, const std::string& Caption, Integer Size) {
  auto* L = new TLabel(Form);
  L->SetParent(Form);
  L->SetTransparent(true);
  L->SetLeft(Left);
  L->SetTop(Top);
  L->GetFont()->SetName("Arial");
  L->GetFont()->SetSize(Size);
  L->GetFont()->SetColor(clWhite);
  L->SetCaption(Caption);
  return L;
}
}  // namespace

TForm5::TForm5(TComponent* AOwner) : TForm(AOwner) {
  if (Form5 == nullptr) Form5 = this;
  BeginFormLoad();
  SetName("Form5");
  SetCaption("About Tilvarok");
  SetFormStyle(fsStayOnTop);
  SetPosition(poMainFormCenter);
  SetBorderIcons({});
  SetVisible(false);

  Image1 = new TImage(this);
  Image1->SetName("Image1");
  Image1->SetParent(this);
  Image1->SetBounds(0, 0, PictureW, PictureH);
  Image1->GetPicture()->SetGraphic(AboutPicture().get());
  Image1->OnClick = TNotifyEvent(this, &TForm5::CloseForm);

  Label1 = MakeLabel(this, 24, 40, "Tilvarok", 24);
  Label1->GetFont()->SetStyle({fsBold});
  Label3 = MakeLabel(this, 26, 90, "Version build", 10);
  Label2 = MakeLabel(this, 26, 160, MakerHomePage, 9);
  Label2->GetFont()->SetStyle({fsUnderline});
  Label2->SetCursor(crHandPoint);
  Label2->OnClick = TNotifyEvent(this, &TForm5::Hyperlink);
  SetClientWidth(PictureW);
  SetClientHeight(PictureH);
  EndFormLoad();
}

void TForm5::Hyperlink(TObject* Sender) {
  if (Form1 != nullptr) Form1->ZORHyperLink(Sender);
}

void TForm5::CloseForm(TObject*) {
  Hide();
}
