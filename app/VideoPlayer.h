#pragma once
// The movie player window: plays the movie the video scripts wrote, frame by frame or on,
// with a position bar and seven transport buttons. Its view's input/output component drives
// the playback object; every new frame is copied into the view.
#include <string>

#include "platform/classes/Forms.h"
#include "platform/system/Types.h"

class TbsSkinForm;
class TbsSkinGroupBox;
class TbsSkinPanel;
class TbsSkinSpeedButton;
class TbsSkinStdLabel;
class TbsSkinTrackBar;
class TIEDirectShow;
class TImageList;
class TZezudIdView;

class TForm4 : public TForm {
 public:
  explicit TForm4(TComponent* AOwner);
  ~TForm4() override;

  // Handlers.
  void FormCreate(TObject* Sender);
  void VidPlayerDShowNewFrame(TObject* Sender);
  void VidPlayerDShowEvent(TObject* Sender);
  void VidPosBarChange(TObject* Sender);
  void VidPosBarMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void VidPosBarMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void PlayerMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void PlayerMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);

  // Fills the main window's codec list with the installed codecs' names and selects the stored
  // codec, else "microsoft video 1" when present, else the first.
  void InitiateCodecs();
  // Opens FileName paused on its first frame; nothing when the file does not exist.
  void LoadVideoFile(const std::string& FileName);
  // The window fitted to a picture of Width x Height.
  void FormResize(Integer Width, Integer Height);
  // Lets the movie file go (stopped and disconnected) and hides the window, so that the file
  // can be replaced.
  void ReleaseMovie();
  // The view's playback object.
  TIEDirectShow* Source();

  Integer GetFrameTotal() const { return FFrameTotal; }
  double GetFrameDuration() const { return FFrameDuration; }

  // ---- Components, in streaming order ----
  TbsSkinForm* bsSkinForm1 = nullptr;
  TImageList* PlayerGlyphs = nullptr;
  TbsSkinGroupBox* GroupBox1 = nullptr;
  TbsSkinStdLabel* LabelIndex = nullptr;
  TbsSkinStdLabel* LabelLength = nullptr;
  TbsSkinPanel* ToolBar1 = nullptr;
  TbsSkinSpeedButton* Toolbutton[7] = {};
  TbsSkinTrackBar* VidPosBar = nullptr;
  TbsSkinPanel* Panel2 = nullptr;
  TZezudIdView* VidPlayer = nullptr;

 private:
  // Button k (1..7) shows its pressed image or its normal one.
  void ShowButtonImage(Integer Button, bool Pressed);
  // The bar and the frame label follow the position the movie stands at.
  void ShowPosition();

  Integer FFrameTotal = 0;
  double FFrameDuration = 0;  // 100-ns units per frame
  Byte PositionDragging = 0;
  Integer FCreatedWidth = 0, FCreatedHeight = 0;
  Integer FMarginWidth = 0, FMarginHeight = 0;
};

extern TForm4* Form4;
