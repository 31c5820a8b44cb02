#include "app/VideoPlayer.h"

#include "app/Main.h"
#include "app/VideoPlayerTime.h"
#include "imaging/io/ieds.h"
#include "imaging/io/ieiolibrary.h"
#include "imaging/io/zezudidio.h"
#include "imaging/view/zezudidview.h"
#include "platform/classes/Bitmap.h"
#include "platform/classes/ImgList.h"
#include "platform/system/Files.h"
#include "platform/system/Format.h"
#include "platform/system/Math.h"
#include "platform/system/StringList.h"
#include "platform/system/Strings.h"
#include "skin/boxctrls/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"
#include "skin/form/SkinForm.h"

TForm4* Form4 = nullptr;

namespace {
constexpr Integer GlyphSize = 16;
constexpr Integer ButtonCount = 7;
constexpr Integer MinWindowWidth = 316;
// The time format of 100-ns units.
constexpr TIETimeFormat MediaTime = TIME_FORMAT_NONE;

// The seven transport glyphs (play, pause, stop, one back, one on, ten back, ten on) drawn in
// Color into a strip of GlyphSize squares starting at square First.
void DrawGlyphs(TCanvas* C, Integer First, TColor Color) {
  C->GetBrush()->SetColor(Color);
  C->GetPen()->SetColor(Color);
  auto Triangle = [&](Integer X, bool Right) {
    if (Right)
      C->Polygon({TPoint{X, 3}, TPoint{X + 6, 8}, TPoint{X, 13}});
    else
      C->Polygon({TPoint{X + 6, 3}, TPoint{X, 8}, TPoint{X + 6, 13}});
  };
  auto Bar = [&](Integer X) { C->FillRect(TRect{X, 3, X + 2, 14}); };
  for (Integer K = 0; K < ButtonCount; ++K) {
    const Integer X = (First + K) * GlyphSize;
    switch (K) {
      case 0:
        Triangle(X + 5, true);
        break;
      case 1:
        C->FillRect(TRect{X + 4, 3, X + 7, 14});
        C->FillRect(TRect{X + 9, 3, X + 12, 14});
        break;
      case 2:
        C->FillRect(TRect{X + 4, 4, X + 12, 12});
        break;
      case 3:
        Bar(X + 3);
        Triangle(X + 6, false);
        break;
      case 4:
        Triangle(X + 4, true);
        Bar(X + 11);
        break;
      case 5:
        Triangle(X + 2, false);
        Triangle(X + 8, false);
        break;
      default:
        Triangle(X + 2, true);
        Triangle(X + 8, true);
        break;
    }
  }
}
}  // namespace

TForm4::TForm4(TComponent* AOwner) : TForm(AOwner) {
  if (Form4 == nullptr) Form4 = this;
  BeginFormLoad();
  SetName("Form4");
  SetCaption("Video Player");
  SetPosition(poDesktopCenter);
  SetFormStyle(fsStayOnTop);
  SetVisible(false);
  SetClientWidth(400);
  SetClientHeight(400);

  bsSkinForm1 = new TbsSkinForm(this);
  bsSkinForm1->SetName("bsSkinForm1");
  // The frame and every control follow the main window's skin.
  TbsSkinData* Skin = Form1 != nullptr ? Form1->bsSkinData1 : nullptr;
  bsSkinForm1->SetSkinData(Skin);

  // Normal images 0..6, pressed images 7..13.
  PlayerGlyphs = new TImageList(this);
  PlayerGlyphs->SetName("PlayerGlyphs");
  PlayerGlyphs->SetWidth(GlyphSize);
  PlayerGlyphs->SetHeight(GlyphSize);
  TBitmap Strip;
  Strip.SetPixelFormat(pf24bit);
  Strip.SetSize(2 * ButtonCount * GlyphSize, GlyphSize);
  Strip.GetCanvas()->GetBrush()->SetColor(clFuchsia);
  Strip.GetCanvas()->FillRect(TRect{0, 0, Strip.GetWidth(), GlyphSize});
  DrawGlyphs(Strip.GetCanvas(), 0, clBlack);
  DrawGlyphs(Strip.GetCanvas(), ButtonCount, static_cast<TColor>(0x00C05000));
  PlayerGlyphs->AddMasked(&Strip, clFuchsia);

  GroupBox1 = new TbsSkinGroupBox(this);
  GroupBox1->SetName("GroupBox1");
  GroupBox1->SetSkinData(Skin);
  GroupBox1->SetParent(this);
  GroupBox1->SetAlign(alTop);
  GroupBox1->SetHeight(76);
  GroupBox1->SetCaption(" Player Control ");
  LabelIndex = new TbsSkinStdLabel(this);
  LabelIndex->SetName("LabelIndex");
  LabelIndex->SetSkinData(Skin);
  LabelIndex->SetParent(GroupBox1);
  LabelIndex->SetBounds(10, 20, 140, 16);
  LabelIndex->SetCaption("Frame: 0 / 0");
  LabelLength = new TbsSkinStdLabel(this);
  LabelLength->SetName("LabelLength");
  LabelLength->SetSkinData(Skin);
  LabelLength->SetParent(GroupBox1);
  LabelLength->SetBounds(160, 20, 140, 16);
  LabelLength->SetCaption("Length: 00:00,00");
  ToolBar1 = new TbsSkinPanel(this);
  ToolBar1->SetName("ToolBar1");
  ToolBar1->SetSkinData(Skin);
  ToolBar1->SetParent(GroupBox1);
  ToolBar1->SetBounds(8, 40, ButtonCount * 27 + 4, 29);
  for (Integer K = 0; K < ButtonCount; ++K) {
    auto* B = new TbsSkinSpeedButton(this);
    B->SetName("Toolbutton" + IntToStr(K + 1));
    B->SetParent(ToolBar1);
    B->SetSkinData(Skin);
    B->SetBounds(2 + K * 27, 2, 25, 25);
    B->SetImageList(PlayerGlyphs);
    B->SetImageIndex(K);
    B->OnMouseDown = TMouseEvent(this, &TForm4::PlayerMouseDown);
    B->OnMouseUp = TMouseEvent(this, &TForm4::PlayerMouseUp);
    Toolbutton[K] = B;
  }

  VidPosBar = new TbsSkinTrackBar(this);
  VidPosBar->SetName("VidPosBar");
  VidPosBar->SetSkinData(Skin);
  VidPosBar->SetParent(this);
  VidPosBar->SetAlign(alBottom);
  VidPosBar->SetHeight(20);
  VidPosBar->SetMinValue(0);
  VidPosBar->SetMaxValue(100);
  VidPosBar->SetValue(0);
  VidPosBar->SetJumpWhenClick(true);
  VidPosBar->OnChange = TNotifyEvent(this, &TForm4::VidPosBarChange);
  VidPosBar->OnMouseDown = TMouseEvent(this, &TForm4::VidPosBarMouseDown);
  VidPosBar->OnMouseUp = TMouseEvent(this, &TForm4::VidPosBarMouseUp);

  Panel2 = new TbsSkinPanel(this);
  Panel2->SetName("Panel2");
  Panel2->SetSkinData(Skin);
  Panel2->SetParent(this);
  Panel2->SetAlign(alClient);
  VidPlayer = new TZezudIdView(this);
  VidPlayer->SetName("VidPlayer");
  VidPlayer->SetParent(Panel2);
  VidPlayer->SetAlign(alClient);
  VidPlayer->SetAutoFit(true);
  VidPlayer->OnDShowNewFrame = TNotifyEvent(this, &TForm4::VidPlayerDShowNewFrame);
  VidPlayer->OnDShowEvent = TNotifyEvent(this, &TForm4::VidPlayerDShowEvent);

  OnCreate = TNotifyEvent(this, &TForm4::FormCreate);
  EndFormLoad();
}

TForm4::~TForm4() {
  BeforeDestruction();
  if (Form4 == this) Form4 = nullptr;
}

void TForm4::FormCreate(TObject*) {
  InitiateCodecs();
  FCreatedWidth = GetWidth();
  FCreatedHeight = GetHeight();
  PositionDragging = 0;
  FMarginWidth = GetWidth() - Panel2->GetWidth();
  FMarginHeight = GetHeight() - Panel2->GetHeight();
}

TIEDirectShow* TForm4::Source() {
  return VidPlayer->GetIO()->GetDShowParams();
}

void TForm4::InitiateCodecs() {
  if (Form1 == nullptr) return;
  const std::unique_ptr<TStringList> Names = GetVideoCodecNames();
  Integer Selected = CodecIndex;
  TStrings* Items = Form1->CodecBox->GetItems();
  Items->BeginUpdate();
  Items->Clear();
  for (Integer I = 0; I < Names->GetCount(); ++I) {
    std::string Name = Names->GetStrings(I);
    if (Selected == 0 && LowerCase(Name) == "microsoft video 1") Selected = I;
    if (Name.empty()) Name = "<unknown codec>";
    Items->Add(Name);
  }
  Items->EndUpdate();
  // A stored codec that is no longer installed gives way to the first one.
  if (Selected >= Items->GetCount()) Selected = 0;
  Form1->CodecBox->SetItemIndex(Items->GetCount() > 0 ? Selected : -1);
}

void TForm4::LoadVideoFile(const std::string& FileName) {
  if (!FileExists(FileName)) return;
  Integer FrameWidth = 0, FrameHeight = 0;
  {
    const TIEMediaReader Reader(FileName);
    FFrameTotal = static_cast<Integer>(EnsureRange<Int64>(Reader.TotalFrames, 0, 0x7FFFFFFF));
    FrameWidth = Reader.FrameWidth;
    FrameHeight = Reader.FrameHeight;
  }
  VidPosBar->SetMaxValue(FFrameTotal);
  TIEDirectShow* S = Source();
  // A paused movie holds its file as well as a running one: either is let go first.
  if (S->Connected()) {
    S->Stop();
    S->Disconnect();
  }
  S->SourceFileName = FileName;
  S->UseSampleGrabber = true;
  S->SetTimeFormat(MediaTime);
  S->RenderAudio = true;
  S->Connect();
  S->SetPosition(0);
  S->Pause();
  FFrameDuration = FrameDurationOf(S->GetDuration(), FFrameTotal);
  LabelIndex->SetCaption(Format("Frame: 0/%d", {FFrameTotal}));
  LabelLength->SetCaption("Length: " + secs2str(S->GetDuration()));
  VidPosBar->SetValue(FFrameTotal);
  // The view shows the movie's frames at their own size.
  FormResize(FrameWidth, FrameHeight);
}

void TForm4::ReleaseMovie() {
  TIEDirectShow* S = Source();
  if (S->Connected()) S->Disconnect();
  Hide();
}

void TForm4::FormResize(Integer Width, Integer Height) {
  SetWidth(Max(MinWindowWidth, Width + FMarginWidth));
  SetHeight(Height + FMarginHeight);
}

void TForm4::ShowPosition() {
  const Integer Frame = FrameAtPosition(Source()->GetPosition(), FFrameDuration);
  LabelIndex->SetCaption(Format("Frame: %d/%d", {Frame, FFrameTotal}));
  VidPosBar->SetValue(Frame);
}

void TForm4::VidPlayerDShowNewFrame(TObject*) {
  ShowPosition();
  Source()->GetSample(VidPlayer->GetIEBitmap(), true);
  VidPlayer->Update();
}

void TForm4::VidPlayerDShowEvent(TObject*) {
  TIEDirectShow* S = Source();
  if (!S->Connected()) return;
  Integer Code = 0;
  while (S->GetEventCode(Code)) {
    // At the end the movie goes back to its start and waits there.
    if (Code == EC_COMPLETE) {
      S->Stop();
      S->SetPosition(0);
      S->Pause();
    }
  }
}

void TForm4::VidPosBarChange(TObject*) {
  if (PositionDragging != 1) return;
  TIEDirectShow* S = Source();
  if (S->GetState() == State_Running) S->Stop();
  S->SetTimeFormat(MediaTime);
  FFrameDuration = FrameDurationOf(S->GetDuration(), FFrameTotal);
  const Integer Frame = VidPosBar->GetValue();
  S->SetPosition(static_cast<Int64>(Round(static_cast<Extended>(Frame) * FFrameDuration)));
  LabelIndex->SetCaption(Format("Frame: %d/%d", {Frame, FFrameTotal}));
  LabelLength->SetCaption("Length: " + secs2str(S->GetDuration()));
}

void TForm4::VidPosBarMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  PositionDragging = 1;
}

void TForm4::VidPosBarMouseUp(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  PositionDragging = 0;
}

void TForm4::ShowButtonImage(Integer Button, bool Pressed) {
  Toolbutton[Button - 1]->SetImageIndex(Pressed ? ButtonCount + Button - 1 : Button - 1);
}

void TForm4::PlayerMouseDown(TObject* Sender, TMouseButton, TShiftState, Integer, Integer) {
  Integer Button = 0;
  for (Integer K = 0; K < ButtonCount; ++K)
    if (Sender == Toolbutton[K]) Button = K + 1;
  if (Button == 0) return;
  TIEDirectShow* S = Source();
  // Frames stepped over, for buttons 4 to 7.
  static constexpr Integer Steps[ButtonCount] = {0, 0, 0, -1, 1, -10, 10};
  switch (Button) {
    case 1:
      S->Run();
      break;
    case 2:
      S->Pause();
      break;
    case 3:
      S->Stop();
      S->SetPosition(0);
      S->Pause();
      break;
    default: {
      S->Stop();
      // Neither before the start nor past the end of the movie.
      const Int64 Target =
          ClampPosition(StepPosition(S->GetPosition(), FFrameDuration, Steps[Button - 1]), S->GetDuration());
      S->SetPosition(Target);
      S->Pause();
      break;
    }
  }
  if (S->GetPosition() > S->GetDuration()) S->SetPosition(S->GetDuration());
  ShowPosition();
  for (Integer K = 1; K <= ButtonCount; ++K) ShowButtonImage(K, K == Button);
}

void TForm4::PlayerMouseUp(TObject* Sender, TMouseButton, TShiftState, Integer, Integer) {
  // Play, pause and stop keep showing which was pressed last.
  for (Integer K = 4; K <= ButtonCount; ++K)
    if (Sender == Toolbutton[K - 1]) ShowButtonImage(K, false);
}
