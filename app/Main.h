#pragma once
// The main window and the working state of the mosaic program. The state lives in variables of
// this unit that the generators, the colour fill and the effects read and write directly; it
// is made by FormCreate and lives until the program ends.
//
// The node and cell tables grow with the pattern: a picture, grid size and multiplier may ask
// for any number of nodes and cells.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/PatternHost.h"
#include "app/VideoScript.h"
#include "platform/classes/Forms.h"
#include "platform/system/Types.h"

class TBitmap;
class TJPEGImage;
class TIniFile;
class TMainMenu;
class TMenuItem;
class TImage32;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinMainMenuBar;
class TbsSkinButton;
class TbsSkinCheckRadioBox;
class TbsSkinSpinEdit;
class TbsSkinTrackBar;
class TbsSkinComboBox;
class TbsSkinGauge;
class TbsSkinStdLabel;
class TbsSkinPanel;
class TbsSkinStatusPanel;
class TbsSkinGroupBox;
class TbsSkinPageControl;
class TbsSkinTabSheet;
class TbsSkinOpenPictureDialog;
class TbsSkinSavePictureDialog;
class TbsSkinOpenDialog;
class TbsSkinSaveDialog;
class TbsSkinMessage;
class TbsSkinEdit;
class TImage;
class TFontDialog;
class TCustomLayer;
class TTimer;
class TmxWebUpdate;
class TmxOneInstance;
class TbsSkinListView;
class TForm1;
class TZezudIdIO;

// ---- Pattern types (PatternBox item index) ----------------------------------------------------
constexpr Byte ptPinch = 0;
constexpr Byte ptCircles = 1;
constexpr Byte ptTwirls = 2;
constexpr Byte ptHexagons = 3;
constexpr Byte ptVerCylinder = 4;  // listed as "Tube (horizontal)"
constexpr Byte ptHorCylinder = 5;  // listed as "Tube (vertical)"
constexpr Byte ptSpheres = 6;
constexpr Byte ptSpirograph = 7;
constexpr Byte ptKaleidoscope = 8;
constexpr Byte ptFreeDrawing = 9;

// The largest source picture (after rim and multiplier) a load accepts, in pixels, and its
// longest side: the pattern is a square of that side, so a long narrow picture would ask for a
// pattern far larger than itself.
constexpr Int64 MaxSourcePixels = 100'000'000;
constexpr Int64 MaxSourceSide = 20'000;

// ---- Node tables -------------------------------------------------------------------------------
// A square table of single floats indexed [i, j] with i, j from 0 to its extent.
class TNodeTable {
 public:
  // Extent N (indices 0..N both ways), every entry 0.
  void Reset(Integer N);
  Integer GetExtent() const { return FStride - 1; }
  Single& operator()(Integer I, Integer J) { return FData[static_cast<std::size_t>(I) * FStride + J]; }
  Single operator()(Integer I, Integer J) const { return FData[static_cast<std::size_t>(I) * FStride + J]; }

 private:
  std::vector<Single> FData;
  Integer FStride = 0;
};

// ---- Bitmaps (24-bit platform bitmaps; white is 255,255,255 and black 0,0,0) ------------------
extern std::unique_ptr<TBitmap> ResultBitmap;   // the working bitmap: frame, colour fill, effects
extern std::unique_ptr<TBitmap> SourceBitmap;   // the source with its rim, enlarged by the multiplier
extern std::unique_ptr<TBitmap> PatternBitmap;  // the cropped wire frame taken before the colour fill
extern std::unique_ptr<TBitmap> MaskBitmap;
extern std::unique_ptr<TBitmap> GlassFXBitmap;
extern std::unique_ptr<TBitmap> TextBitmap;
extern std::unique_ptr<TBitmap> DrawingBitmap;
extern std::unique_ptr<TBitmap> DrawingHistoryBitmap;
extern std::unique_ptr<TJPEGImage> ResultJpeg;  // receives every finished result

// ---- Flags (0 or 1) -----------------------------------------------------------------------------
extern Byte Ready;           // start-up finished; 0 blocks every build
extern Byte Busy;            // a build or a control update runs; a second build is refused
extern Byte BuildRunning;    // a build runs; the colour fill shifts the seeds by the crop only then
extern Byte AbortRequested;  // set by the cancel button, polled by the generators and the colour fill
extern Byte SourceLoaded;
extern Byte MaskLoaded;
extern Byte TextMode;     // the text picture is being loaded as source
extern Byte VideoMode;    // a movie is being made
extern Byte PatternType;  // 0..9

// ---- Geometry and counters ----------------------------------------------------------------------
extern Byte GridPx;  // grid cell size in pixels
extern Integer Rim;  // white rim added to width and height, half of it left and top
extern Integer CellsX, CellsY;
extern Integer NodeCount;    // nodes per side of the square pattern
extern Integer PatternSize;  // side of the square pattern in pixels
extern Integer OffsetX, OffsetY;
extern Integer SeedCount;  // the last used index of the cell tables
extern Integer ColorCounter;
extern TRect CropRect;      // the part of the square pattern ResizeResult keeps
extern Integer PointCount;  // points drawn since the drawing type was chosen
extern Byte DrawingActive;  // 1 between mouse down and mouse up while drawing

// ---- Tables -------------------------------------------------------------------------------------
extern TNodeTable NodeX, NodeY;              // mesh and twirl nodes [1..NodeCount, 1..NodeCount]
extern TNodeTable MeshCentreX, MeshCentreY;  // centre of mesh cell [i, j], i, j from 1
// Seed point of every cell, and the radius of every sphere: entry 0 the pattern centre,
// 1..SeedCount the cells.
extern std::vector<Integer> CellCentreX, CellCentreY, CellRadius;
// Grows the cell tables so that Index is a valid entry.
void EnsureCellCapacity(Integer Index);
// SeedCount += 1 and the new seed stored at that entry.
void AddSeed(Integer X, Integer Y, Integer Radius = 0);

// Every point drawn since the drawing type was chosen, all strokes in drawing order; PointCount
// of them are valid.
extern std::vector<TPoint> KaleidoPoints;

// ---- Folders and files ----------------------------------------------------------------------------
extern std::string ExeDir, LanguagesDir, TempDir, DataDir, ResultsDir, SourcesDir, ProjectsDir, ScriptsDir;
extern std::string SourceFileName, GlassFXFileName, TempMovieName;
extern std::unique_ptr<TIniFile> SettingsFile;

// ---- Settings read at start -----------------------------------------------------------------------
extern Byte CodecIndex;                         // the preferred video codec
extern Integer UpdateDays;                      // days between update checks: 0, 7 or 30
extern std::string LastUpdateDate;              // "dd-mm-yyyy" of the last update check
extern std::vector<std::string> LanguageNames;  // language i is entry i - 1
extern Integer CurrentLanguage;                 // 1-based; 0 while no language of the list is in use

// Writes a setting at once. Without its folder the file cannot be written: the choice holds
// for this run, and the user is told when Warn is set.
void WriteSetting(TForm1* Form, std::string_view Section, std::string_view Key, std::string_view Value,
                  bool Warn);

// ---- Video scripts and movies ------------------------------------------------------------------
extern TVideoScript VideoScript;  // the script last read: its key frames (ScriptData, DatasetCount)
extern Integer ScriptPattern;     // the script's pattern type
extern TFrameTable FrameTable;    // P1..P6 of every frame 0..FrameTable.LastFrame
extern Byte VideoSizeIndex;       // the size box's item in use (0: the source's size)
extern Integer VideoWidth, VideoHeight;
extern std::vector<std::string> FourCCList;  // the codecs' four-character codes, as CodecBox lists them

// Loads a picture file into Bitmap (24-bit); a file the library cannot read gives an empty one.
// Raises when the file cannot be opened or is over MaxSourcePixels; Bitmap is then unchanged.
void LoadPictureFile(const std::string& FileName, TBitmap* Bitmap);

// The name SaveResult writes under: FileName when its extension is one of jpg, jpeg, bmp, gif,
// emf, wmf or png (any case), else FileName + "." + the extension of the dialog's filter.
std::string ResultSaveName(const std::string& FileName, Integer FilterIndex);
// The open dialog's filter: every format the imaging library reads, all of them first.
std::string OpenPictureFilter();

// ---- The main window ------------------------------------------------------------------------------
class TForm1 : public TForm, public TPatternHost {
 public:
  explicit TForm1(TComponent* AOwner);
  ~TForm1() override;

  // Handlers (each takes the sending control).
  void FormCreate(TObject* Sender);
  void LoadPicture(TObject* Sender);
  void CreateMosaic(TObject* Sender);
  void AbortCreate(TObject* Sender);
  void SetBasicSize(TObject* Sender);
  void SaveResult(TObject* Sender);
  void ChangePatternOptions(TObject* Sender);
  void ChangeControl(TObject* Sender);
  void UpdateChange(TObject* Sender);
  void ToggleAutomatic(TObject* Sender);

  // The pattern type and the option controls.
  void SelectType(TObject* Sender);
  void SelectPatternFromMenu(TObject* Sender);
  void ActivateShade(TObject* Sender);
  void SetGlassFX(TObject* Sender);
  void SelectOffsetMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                           TCustomLayer* Layer);
  void ShowViewer(TObject* Sender);

  // About box, help, home page, clock and memory panels, and the update commands
  // (MainServices.cpp).
  void ShowAbout(TObject* Sender);
  void ShowHelp(TObject* Sender);
  void ZORHyperLink(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void ShowWebUpdate(TObject* Sender);
  void AfterGetInfo(TObject* Sender);
  void UpdateAvailable(TObject* Sender, std::string ActualVersion, std::string NewVersion, bool& CanUpdate);
  void BeforeDownload(TObject* Sender, std::string FileName);
  void Download(TObject* Sender, Integer Total, Integer Downloaded);
  void AfterDownload(TObject* Sender, std::string FileName);
  // The update window's download button: the save dialog, then the download into the chosen
  // folder; false when declined (the offer then ends) or when the download fails.
  bool StartDownload(TObject* Sender);
  // The update window's cancel button: the offer or the transfer ends, the window hides.
  void CancelUpdate(TObject* Sender);

  // Finds every white region of a black-on-white drawing, one seed per region in scan order,
  // and with pattern colours floods each with its colour.
  void Colorize(TBitmap* Bitmap);

  // Kaleidoscope and free drawing.
  void ImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                      TCustomLayer* Layer);
  void ImageMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y, TCustomLayer* Layer);
  void ImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y,
                    TCustomLayer* Layer);
  void DrawHistory();
  void CreatePictureArea(TObject* Sender);
  void EraseKaleidoscope(TObject* Sender);
  void SubmitBitmap(TObject* Sender);
  void SelectView(TObject* Sender);

  // Text pattern, mask and glass pictures.
  void UseTextPattern(TObject* Sender);
  void SelectFont(TObject* Sender);
  void CreateTextBitmap();
  void LoadMask(TObject* Sender);
  void LoadGlassFX(TObject* Sender);
  // The glass picture the settings name, at start; a file that cannot be read is reported and
  // leaves the glass empty.
  void LoadGlassFromSettings();

  // Projects.
  void SaveProject(TObject* Sender);
  void LoadProject(TObject* Sender);
  void DeleteProject(TObject* Sender);

  // Video scripts and movies (MainVideo*.cpp).
  void ReloadScript(TObject* Sender);
  void StartVideoCreation(TObject* Sender);
  void ChangeVideoSize(TObject* Sender);
  void SaveVideoFile(TObject* Sender);
  void LoadMovie(TObject* Sender);
  // Reads the script file FileName into the script data, FXList and FrameTable.
  void LoadScriptFile(const std::string& FileName);
  // Makes the movie of the script read, frame by frame, into TempMovieName.
  void CreateVideo();
  // VideoWidth and VideoHeight from the size box; without a source a blank source frame.
  void PrepareVideoFrameSize();
  // The source picture (Picture, or the source file loaded afresh) cropped and stretched to the
  // movie's size, saved as the movie's source frame and shown in Image5.
  void MakeVideoSourceFrame(TBitmap* Picture = nullptr);
  // Target becomes the middle of Source in the movie's shape, unscaled.
  void CropToAspect(TBitmap* Source, TBitmap* Target);
  // In video mode, a finished build becomes the movie's next frame while the frame loop runs.
  void AppendVideoFrame();
  // The size box's items and the one in use.
  void FillVideoSizeBox();

  // Settings, languages, skins and the update interval.
  void SelectSkin(TObject* Sender);
  void SetUpdateFreq(TObject* Sender);
  void SelectLanguage(TObject* Sender);
  void MakeOwnLanguage(TObject* Sender);

  // The stages of a build.
  void ShowGrid();
  void ResizeResult(TBitmap* Bitmap);
  void MatchColors(TBitmap* Bitmap);
  void Filter(Integer X, Integer Y, Integer R, TBitmap* Tile, TBitmap* Glass, TColor Color);
  // Lays the glass picture over the pixels of Color in the square of half size R around
  // (X, Y) of Bitmap: the square goes through Filter and back. Only the part of the square
  // inside the bitmap is read and written, so the glass keeps its place on the square.
  void GlassSquare(TBitmap* Bitmap, Integer X, Integer Y, Integer R, TColor Color);
  void BlendBackground(TBitmap* Bitmap);
  void TubeShading(TBitmap* Bitmap);

  // The generators' host, read from the controls (MainHost.cpp).
  Integer ParamPosition(Integer Index) const override;
  Integer ParamMinimum(Integer Index) const override;
  Integer ParamMaximum(Integer Index) const override;
  Integer PenWidth() const override;
  Single PatternColorMode() const override;
  bool PatternColorsOn() const override;
  bool GlassOn() const override;
  bool KeepShapeOn() const override;
  Integer Multiplier() const override;
  Integer KaleidoImages() const override;
  bool PictureAreaOn() const override;
  void LetMessagesRun() override;
  void ShowStatusText(const std::string& Text) override;
  void SetProgressLimit(Integer Value) override;
  void ShowProgress(Integer Value) override;
  void ShowCoverage(const std::string& Text) override;
  void GlassCell(TBitmap* Bitmap, Integer X, Integer Y, Integer R, TColor Color) override;
  void ResetDrawingPanel() override;
  void ShowPicture(TBitmap* Picture) override;

  // What the stages read of the controls.
  Integer ParamValue(Integer Index) const;  // position of TrackBarP1..TrackBarP6
  Integer ParamRange(Integer Index) const;  // maximum - minimum of that slider
  Integer LineWidth() const;                // Round(LineSpin)
  Single ColorMode() const;                 // ColorSpin
  // The status panel shows " " + Text.
  void SetStatusText(const std::string& Text);
  // The same, then the message queue runs once.
  void ShowStatus(const std::string& Text);
  // The memory panel shows " " + the memory text.
  void ShowMemoryStatus();
  // The progress gauge; unless in video mode. A value is only shown when the gauge would move.
  void SetProgressMax(Integer Value);
  void SetProgress(Integer Value);
  // Lets the message queue run once.
  void PumpMessages();
  // A warning in the message box.
  void ShowWarning(const std::string& Text);
  // The size label shows the source in use ("Size: W x H"; 0 x 0 without one).
  void ShowSourceSize();

  // ---- Components, in streaming order ----
  TbsSkinData* bsSkinData1 = nullptr;
  TbsSkinForm* bsSkinForm1 = nullptr;
  TMainMenu* MainMenu1 = nullptr;
  TbsSkinMainMenuBar* MainMenuBar1 = nullptr;
  TMenuItem* Load1 = nullptr;
  TMenuItem* Sourcebitmap1 = nullptr;
  TMenuItem* Mask1 = nullptr;
  TMenuItem* GlassFX1 = nullptr;
  TMenuItem* SaveBitmap1 = nullptr;
  TMenuItem* Pattern1 = nullptr;
  // The ten items of the menu "Pattern", in pattern-type order (Pinch1 .. Freedrawing1).
  TMenuItem* PatternItems[10] = {};
  // The menu "Projects" and its file dialogs.
  TMenuItem* Projects1 = nullptr;
  TbsSkinOpenDialog* OpenProjectDialog = nullptr;
  TbsSkinSaveDialog* SaveProjectDialog = nullptr;
  // The menu "Extra": the languages (one item per language, then "Other languages?"), the
  // eight skins and the update interval.
  TMenuItem* Extra1 = nullptr;
  TMenuItem* Language1 = nullptr;
  std::vector<TMenuItem*> LanguageItems;
  TMenuItem* Otherlanguages1 = nullptr;
  TMenuItem* Skin1 = nullptr;
  TMenuItem* SkinItems[8] = {};
  TMenuItem* Update1 = nullptr;
  TMenuItem* Off1 = nullptr;
  TMenuItem* Weekly1 = nullptr;
  TMenuItem* Monthly1 = nullptr;
  TMenuItem* Updatenow1 = nullptr;
  // The status bar and its panels.
  TbsSkinPanel* StatusBar1 = nullptr;
  TbsSkinStatusPanel* StatusPanel = nullptr;
  TbsSkinStatusPanel* RAMPanel = nullptr;
  TbsSkinStatusPanel* DatePanel = nullptr;
  TbsSkinGauge* ProgressBar1 = nullptr;
  TbsSkinPanel* ControlPanel = nullptr;
  TbsSkinPageControl* PageControl1 = nullptr;
  TbsSkinTabSheet* TabSheet1 = nullptr;
  TbsSkinTabSheet* TabSheet2 = nullptr;
  TbsSkinTabSheet* TabSheet3 = nullptr;
  // Source picture.
  TbsSkinGroupBox* GroupBox1 = nullptr;
  TImage32* Image2 = nullptr;
  TbsSkinStdLabel* Label13 = nullptr;
  TbsSkinButton* LoadPicBtn = nullptr;
  TbsSkinCheckRadioBox* NoRim = nullptr;
  TbsSkinStdLabel* Label23 = nullptr;
  TbsSkinSpinEdit* MultSpin = nullptr;
  // Pattern.
  TbsSkinGroupBox* GroupBox2 = nullptr;
  TbsSkinStdLabel* Label2 = nullptr;
  TbsSkinComboBox* PatternBox = nullptr;
  TbsSkinStdLabel* Label1 = nullptr;
  TbsSkinSpinEdit* SpinEdit5 = nullptr;
  TbsSkinStdLabel* Label43 = nullptr;
  TbsSkinSpinEdit* LineSpin = nullptr;
  TbsSkinStdLabel* Label8 = nullptr;
  TbsSkinSpinEdit* ColorSpin = nullptr;
  // Parameters.
  TbsSkinGroupBox* GroupBox5 = nullptr;
  TbsSkinStdLabel* LabelP[6] = {};
  TbsSkinTrackBar* TrackBarP[6] = {};
  TbsSkinStdLabel* ValueP[6] = {};
  // Options.
  TbsSkinGroupBox* GroupBox3 = nullptr;
  TbsSkinCheckRadioBox* FrameOnly = nullptr;
  TbsSkinCheckRadioBox* PatternColors = nullptr;
  TbsSkinCheckRadioBox* GridShow = nullptr;
  TbsSkinCheckRadioBox* WhiteGrid = nullptr;
  TbsSkinCheckRadioBox* KeepShape = nullptr;
  TbsSkinCheckRadioBox* Automatic = nullptr;
  TbsSkinCheckRadioBox* AutoSave = nullptr;
  TbsSkinCheckRadioBox* ApplyMask = nullptr;
  TbsSkinCheckRadioBox* UseText = nullptr;
  // Effects.
  TbsSkinGroupBox* GroupBox4 = nullptr;
  TbsSkinCheckRadioBox* Blending = nullptr;
  TbsSkinTrackBar* BlendBar = nullptr;
  TbsSkinStdLabel* BlendLbl = nullptr;
  TbsSkinCheckRadioBox* Edges = nullptr;
  TbsSkinTrackBar* ClipBar = nullptr;
  TbsSkinStdLabel* ClipLbl = nullptr;
  TbsSkinCheckRadioBox* AutoAlias = nullptr;
  TbsSkinCheckRadioBox* ApplyShade = nullptr;
  TbsSkinCheckRadioBox* GlassFX = nullptr;
  TbsSkinTrackBar* GlassBar = nullptr;
  TbsSkinStdLabel* GlassLbl = nullptr;
  // Mask, glass picture and text pattern.
  TbsSkinGroupBox* GroupBox7 = nullptr;
  TbsSkinButton* LoadMaskBtn = nullptr;
  TImage* Image3 = nullptr;
  TbsSkinGroupBox* GroupBox8 = nullptr;
  TbsSkinButton* LoadFXBtn = nullptr;
  TImage* Image4 = nullptr;
  TbsSkinGroupBox* GroupBox9 = nullptr;
  TbsSkinEdit* Edit1 = nullptr;
  TbsSkinButton* FontBtn = nullptr;
  TFontDialog* FontDialog1 = nullptr;
  // Video: the script and its key frames, the movie's size, codec and options, the frame loop's
  // read-out and the source frame's preview.
  TbsSkinGroupBox* GroupBox10 = nullptr;
  TbsSkinButton* LoadScriptBtn = nullptr;
  TbsSkinButton* ReloadBtn = nullptr;
  TbsSkinStdLabel* Label37 = nullptr;
  TbsSkinListView* FXList = nullptr;
  TbsSkinGroupBox* GroupBox11 = nullptr;
  TbsSkinComboBox* VideoSizeBox = nullptr;
  TbsSkinComboBox* CodecBox = nullptr;
  TbsSkinPanel* Panel7 = nullptr;
  TImage* Image5 = nullptr;
  TbsSkinCheckRadioBox* TrialRun = nullptr;
  TbsSkinCheckRadioBox* ShowPreview = nullptr;
  TbsSkinCheckRadioBox* CBOpenPlayer = nullptr;
  TbsSkinStdLabel* FrameNr = nullptr;
  TbsSkinStdLabel* AutomP[6] = {};
  TbsSkinButton* CreateVideoBtn = nullptr;
  TMenuItem* Script1 = nullptr;
  TMenuItem* Savevideo1 = nullptr;
  TMenuItem* Windows1 = nullptr;
  TMenuItem* Showvideoplayer1 = nullptr;
  TbsSkinOpenDialog* OpenScriptDialog = nullptr;
  TbsSkinSaveDialog* SaveVideoDialog = nullptr;
  TZezudIdIO* ImgVid = nullptr;
  // The drawing panel of the kaleidoscope and free drawing, over the parameters.
  TbsSkinGroupBox* GroupBox6 = nullptr;
  TbsSkinButton* SubmitBtn = nullptr;
  TbsSkinButton* EraseBtn = nullptr;
  TbsSkinCheckRadioBox* KaleidoPattern = nullptr;
  TbsSkinCheckRadioBox* KaleidoColors = nullptr;
  TbsSkinCheckRadioBox* ShowPictArea = nullptr;
  TbsSkinCheckRadioBox* Kal2x = nullptr;
  TbsSkinCheckRadioBox* Kal4x = nullptr;
  TbsSkinCheckRadioBox* Kal8x = nullptr;
  // Build and save.
  TbsSkinButton* UpdateBtn = nullptr;
  TbsSkinButton* SaveBtn = nullptr;
  // Result.
  TImage32* Image1 = nullptr;
  TbsSkinOpenPictureDialog* OpenPictureDialog = nullptr;
  TbsSkinSavePictureDialog* SavePictureDialog = nullptr;
  TbsSkinMessage* bsSkinMessage1 = nullptr;
  // Help and about menus, the clock, the web update and the single-instance guard.
  TMenuItem* Help2 = nullptr;
  TMenuItem* About2 = nullptr;
  TTimer* Timer1 = nullptr;
  TmxWebUpdate* mxWebUpdate = nullptr;
  TbsSkinSaveDialog* UpdateSaveDialog = nullptr;
  TmxOneInstance* mxOneInstance1 = nullptr;

 private:
  // The controls of the window, in streaming order.
  void CreateComponents();
  // Its parts, one per group box or area, in streaming order (MainLayout.cpp).
  void CreateMenus();
  void CreateStatusBar();
  void CreatePages();
  void CreateSourceGroup();
  void CreatePatternGroup();
  void CreateParameterGroup();
  void CreateDrawingGroup();
  void CreateOptionsGroup();
  void CreateEffectsGroup();
  void CreateTextGroup();
  void CreatePreviewGroups();
  void CreateVideoPage();
  // The menu items of scripts, movies and the player window.
  void CreateVideoMenus();
  void CreateBuildButtons();
  void CreateResultView();
  void CreateDialogs();
  // Every file dialog and the message box take the window's skin data (MainDialogSkins.cpp).
  void BindDialogSkins();
  void BindHandlers();
  // The help and about menus, the clock, the web update and the single-instance guard.
  void CreateServices();
  // The menu "Projects" with its items and dialogs.
  void CreateProjectMenu();
  // The menu "Extra": language, skin and update items.
  void CreateExtraMenu();
  // The settings file read at start: glass picture, codec, update interval, skin, languages.
  void ReadSettings();
  // The source, rimmed and stretched to Width x Height, from a loaded picture; the cell
  // counts, the size label and the source view follow it.
  void SetSourcePicture(TBitmap* Picture, Integer Width, Integer Height);
  // A refused load puts the control that asked for it back to the source in use.
  void PutBackSourceControls(TObject* Sender);
  // GlassFXBitmap and its preview become Picture.
  void ShowGlassPicture(TBitmap* Picture);
  // The load road of LoadPicture; false when no picture was loaded (a cancelled dialog, a
  // picture refused for its size, the multiplier without a source).
  bool LoadSource(TObject* Sender);
  // MaskBitmap becomes the padded mask stretched to the source's size, or the padded mask
  // itself without a source.
  void FitMaskToSource();
  // Writes ResultBitmap under FileName in the format its extension names.
  void WriteResult(const std::string& FileName);
  // The width / height ratio ResizeResult crops to.
  Single WantedRatio() const;

  Integer FProgressShown = -1;  // the gauge's filled width last shown
  Integer FSourceMult = 1;      // the multiplier the source was made with
  // The glass effect's scratch squares, kept from cell to cell, and its blend of a cell's
  // channel with the glass's for the glass amount it was made for.
  std::unique_ptr<TBitmap> FGlassTile, FGlassPicture;
  std::vector<Byte> FGlassBlend;
  Integer FGlassBlendAmount = -1;
  // The mask as loaded with its black rim; every new text source is fitted from it, so the
  // mask does not lose detail from one text to the next.
  std::unique_ptr<TBitmap> FMaskPicture;
  // The script file last chosen; "Reload script" reads it again.
  std::string FScriptFileName;
  // 1 while the frame loop of a movie runs: only its builds are frames of the movie.
  Byte FRecordingFrames = 0;
};

extern TForm1* Form1;
