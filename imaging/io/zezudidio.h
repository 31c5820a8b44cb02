#pragma once
// TZezudIdIO: the imaging library's load-and-save component. It works on one current picture
// (its own TIEBitmap, a caller's TIEBitmap, a caller's platform bitmap or image control, or
// the picture of an attached view), loads it by extension, by content or by format code, saves
// it by extension or by code, and keeps its input and output parameters.
//
// Failure is reported through GetAborting(), never by an exception, except that a file which
// cannot be opened or created raises the platform's stream exception (Aborting is then true).
// Every load and save ends with DoFinishWork; in asynchronous mode an operation runs on a
// worker thread and returns at once (-1 for those with an integer result).
//
// Files: zezudidio.cpp (construction, attachment, events), zezudidioframe.cpp (the steps the
// operations share), zezudidioload.cpp and zezudidiosave.cpp (the dispatchers),
// zezudidioparamsonly.cpp (parameters-only reads), zezudidiodpi.cpp (AdjustDPI),
// ieiothread.cpp (worker threads); the per-format operations each live in a file of their
// format (zezudidio<format>.cpp).
//
// Threads: the picture, the parameters and the events are not locked; while an operation
// runs on a worker the caller leaves them alone (WaitThreads waits for the end). Only the
// abort flag and the thread list are shared safely.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "imaging/core/hyiedefs.h"
#include "imaging/io/iefileformats.h"
#include "imaging/io/ieiothread.h"
#include "imaging/io/ieview.h"
#include "platform/classes/Colors.h"
#include "platform/media/AviFile.h"
#include "platform/system/Component.h"
#include "platform/system/Delegates.h"
#include "platform/system/Sets.h"
#include "platform/system/SyncObjs.h"
#include "platform/system/Types.h"
#include "platform/system/WinTypes.h"

class TBitmap;
class TFont;
class TForm;
class TImage;
class TMetafile;
class TStream;
class TIEBitmap;
class TIOParamsVals;
class TIOPrintPreviewParams;
class TIETWainParams;
class TIEWia;
class TIEDirectShow;
class TZezudIdIO;

// Private window messages, posted (never sent) to an attached view.
constexpr UINT IEM_UPDATE = 8024;      // a background load changed the picture: repaint
constexpr UINT IEM_NEWFRAME = 8025;    // DirectShow: a new frame is ready (lParam the object)
constexpr UINT IEM_EVENT = 8026;       // DirectShow: a graph event is pending (lParam the object)
constexpr UINT IEM_PROGRESS = 8027;    // wParam the percent 0..100
constexpr UINT IEM_FINISHWORK = 8028;  // a background operation has ended

enum TIOPreviewsParamsItems : Byte { ioppDefaultLockPreview, ioppApplyButton };
using TIOPreviewsParams = TSet<TIOPreviewsParamsItems, 2>;

enum TIEDialogsMeasureUnit : Byte { ieduInches, ieduCm, ieduSelectableDefInches, ieduSelectableDefCm };

using TIEPixelFormatSet = TSet<TIEPixelFormat, IEPixelFormatCount>;

using TIEDoPreviewsEvent = TDelegate<void(TObject* Sender, bool& Handled)>;
using TIEIOPreviewEvent = TDelegate<void(TObject* Sender, TForm* PreviewForm)>;

// Shows the parameters dialog for DoPreviews; set by the library that has the dialog (the
// view library). Returns true when the user confirmed.
using TIEPreviewsDialog = bool (*)(TZezudIdIO* IO, Word Pages);
extern TIEPreviewsDialog IEPreviewsDialog;

class TZezudIdIO : public TComponent {
  friend class TIEIOThread;

 public:
  explicit TZezudIdIO(TComponent* Owner);
  // Waits for running background operations to end first.
  ~TZezudIdIO() override;
  TZezudIdIO(const TZezudIdIO&) = delete;
  TZezudIdIO& operator=(const TZezudIdIO&) = delete;

  // A component without owner attached to Bitmap (not owned).
  static std::unique_ptr<TZezudIdIO> CreateFromBitmap(TIEBitmap* Bitmap);

  // ---- The current picture and what it is attached to ------------------------------------
  // The picture loads fill and saves read; nil after SetAttachedIEBitmap(nil).
  TIEBitmap* GetIEBitmap() const { return FIEBitmap; }
  // The component created the picture and frees it.
  bool GetOwnsIEBitmap() const { return FOwnIEBitmap != nullptr; }
  TBitmap* GetAttachedBitmap() const { return FAttachedBitmap; }
  TIEView* GetAttachedZezudId() const { return FAttachedZezudId; }
  TImage* GetAttachedTImage() const { return FAttachedTImage; }
  void SetAttachedZezudId(TIEView* View);
  void SetAttachedTImage(TImage* Image);
  // A nil bitmap while a view or image control is attached only stops following the view.
  void SetAttachedBitmap(TBitmap* Bitmap);
  void SetAttachedIEBitmap(TIEBitmap* Bitmap);
  // Re-wraps the attached platform bitmap (so a caller's changes to it are seen) and answers
  // whether the picture exists and its pixel format is in AllowedFormats (any when empty).
  bool MakeConsistentBitmap(TIEPixelFormatSet AllowedFormats);
  // The platform bitmap behind the picture: the picture's own when it keeps its pixels in
  // one, else the attached one.
  virtual TBitmap* GetBitmap();

  // ---- Properties ------------------------------------------------------------------------
  // The component's parameters (owned): readers fill them, writers read them.
  TIOParamsVals* GetParams() const { return FParams.get(); }
  // Scanner and print-preview settings (owned).
  TIETWainParams* GetTWainParams() const { return FTWainParams.get(); }
  TIOPrintPreviewParams* GetPrintPreviewParams() const { return FPrintPreviewParams.get(); }
  // The outcome of the current or last operation; true means it failed or was stopped.
  // Written by the listener of OnProgress to stop a long operation; read and written
  // atomically, so another thread may set it.
  bool GetAborting() const;
  void SetAborting(bool Value);
  // The view's background when a view is attached, else the stored colour.
  TColor GetBackground() const;
  void SetBackground(TColor Color);
  TMsgLanguage GetMsgLanguage() const { return FMsgLanguage; }
  void SetMsgLanguage(TMsgLanguage Value) { FMsgLanguage = Value; }
  TIOPreviewsParams GetPreviewsParams() const { return FPreviewsParams; }
  void SetPreviewsParams(TIOPreviewsParams Value) { FPreviewsParams = Value; }
  bool GetSimplifiedParamsDialogs() const { return FSimplifiedParamsDialogs; }
  void SetSimplifiedParamsDialogs(bool Value) { FSimplifiedParamsDialogs = Value; }
  bool GetStreamHeaders() const { return FStreamHeaders; }
  void SetStreamHeaders(bool Value) { FStreamHeaders = Value; }
  TFont* GetPreviewFont() const { return FPreviewFont.get(); }
  // Copies Font into the owned preview font.
  void SetPreviewFont(TFont* Font);
  TIEDialogsMeasureUnit GetDialogsMeasureUnit() const { return FDialogsMeasureUnit; }
  void SetDialogsMeasureUnit(TIEDialogsMeasureUnit Value) { FDialogsMeasureUnit = Value; }
  bool GetAutoAdjustDPI() const { return FAutoAdjustDPI; }
  void SetAutoAdjustDPI(bool Value) { FAutoAdjustDPI = Value; }
  bool GetFilteredAdjustDPI() const { return FFilteredAdjustDPI; }
  void SetFilteredAdjustDPI(bool Value) { FFilteredAdjustDPI = Value; }
  bool GetNativePixelFormat() const;
  void SetNativePixelFormat(bool Value);
  Byte GetBlackWhiteConversion() const { return FBlackWhiteConversion; }
  void SetBlackWhiteConversion(Byte Mode) { FBlackWhiteConversion = Mode; }
  // Run the loads and saves on worker threads (only while the picture is not the component's
  // own).
  bool GetAsyncMode() const { return FAsyncMode; }
  void SetAsyncMode(bool Value) { FAsyncMode = Value; }
  // The proxy of internet reads ("host:port"); empty: none. Its user name and password
  // replace those of the address.
  const std::u16string& GetProxyAddress() const { return FProxyAddress; }
  void SetProxyAddress(const std::u16string& Value) { FProxyAddress = Value; }
  const std::u16string& GetProxyUser() const { return FProxyUser; }
  void SetProxyUser(const std::u16string& Value) { FProxyUser = Value; }
  const std::u16string& GetProxyPassword() const { return FProxyPassword; }
  void SetProxyPassword(const std::u16string& Value) { FProxyPassword = Value; }

  // ---- Events ----------------------------------------------------------------------------
  TIEProgressEvent GetOnProgress() const { return FOnProgress; }
  void SetOnProgress(TIEProgressEvent Value) { FOnProgress = Value; }
  TNotifyEvent GetOnFinishWork() const { return FOnFinishWork; }
  void SetOnFinishWork(TNotifyEvent Value) { FOnFinishWork = Value; }
  TIEIOPreviewEvent GetOnIOPreview() const { return FOnIOPreview; }
  void SetOnIOPreview(TIEIOPreviewEvent Value) { FOnIOPreview = Value; }
  TIEDoPreviewsEvent GetOnDoPreviews() const { return FOnDoPreviews; }
  void SetOnDoPreviews(TIEDoPreviewsEvent Value) { FOnDoPreviews = Value; }

  // ---- Loading (the result is in GetIEBitmap(), GetParams() and GetAborting()) ------------
  // By extension.
  virtual void LoadFromFile(const std::u16string& FileName);
  // By content when the content is recognised, else by extension.
  virtual void LoadFromFileAuto(const std::u16string& FileName);
  virtual void LoadFromFileFormat(const std::u16string& FileName, TIEFileType FileType);
  // By content; unrecognised content changes neither the picture nor Aborting.
  virtual void LoadFromStream(TStream* Stream);
  // FileType 0 means by content.
  virtual void LoadFromStreamFormat(TStream* Stream, TIEFileType FileType);
  // A caller's memory block; FileType 0 means by content. Runs on the caller's thread.
  virtual void LoadFromBuffer(const void* Buffer, Integer BufferSize, TIEFileType FileType);
  // An "http://", "https://" or "ftp://" address (LoadFromFile hands them here), downloaded
  // whole and read by content. A failed download sets Aborting; Aborting is not cleared first.
  void LoadFromURL(const std::u16string& URL);

  // ---- Saving ----------------------------------------------------------------------------
  // By extension. The file is written beside the old one and replaces it only when the save
  // succeeded.
  virtual void SaveToFile(const std::u16string& FileName);
  virtual void SaveToStream(TStream* Stream, TIEFileType FileType);
  // A text rendering of the picture (SourceKind 0 constant array, 1 byte list, 2 Base64,
  // 3 character picture).
  virtual void SaveToPascalSource(const std::u16string& FileName, TIEFileType FileType, Integer SourceKind);

  // ---- Parameters only (the picture is not changed; failure leaves FileType 0) ------------
  virtual void ParamsFromFile(const std::u16string& FileName);
  virtual void ParamsFromFileFormat(const std::u16string& FileName, TIEFileType FileType);
  virtual void ParamsFromStream(TStream* Stream);
  virtual void ParamsFromStreamFormat(TStream* Stream, TIEFileType FileType);
  virtual void ParamsFromBuffer(const void* Buffer, Integer BufferSize, TIEFileType FileType);

  // ---- Per-format operations -------------------------------------------------------------
  void LoadFromFileJpeg(const std::u16string& FileName);
  void LoadFromStreamJpeg(TStream* Stream);
  void SaveToFileJpeg(const std::u16string& FileName);
  void SaveToStreamJpeg(TStream* Stream);
  // Writes the parameters' DPI into the Photoshop resolution resource of the first APP13.
  void UpdatePhotoshopResolution();
  void LoadFromFilePNG(const std::u16string& FileName);
  void LoadFromStreamPNG(TStream* Stream);
  void SaveToFilePNG(const std::u16string& FileName);
  void SaveToStreamPNG(TStream* Stream);
  void LoadFromFileBMP(const std::u16string& FileName);
  void LoadFromStreamBMP(TStream* Stream);
  void SaveToFileBMP(const std::u16string& FileName);
  void SaveToStreamBMP(TStream* Stream);
  void LoadFromFilePXM(const std::u16string& FileName);
  void LoadFromStreamPXM(TStream* Stream);
  void SaveToFilePXM(const std::u16string& FileName);
  void SaveToStreamPXM(TStream* Stream);
  void LoadFromFileWBMP(const std::u16string& FileName);
  void LoadFromStreamWBMP(TStream* Stream);
  void SaveToFileWBMP(const std::u16string& FileName);
  void SaveToStreamWBMP(TStream* Stream);
  void LoadFromFileTGA(const std::u16string& FileName);
  void LoadFromStreamTGA(TStream* Stream);
  void SaveToFileTGA(const std::u16string& FileName);
  void SaveToStreamTGA(TStream* Stream);
  // ICO loads read the image Params.IcoImageIndex, CUR loads Params.CurImageIndex; the saves
  // write one image per leading Params.IcoSizes entry of positive width, at the IcoBitCounts
  // of the same index. There is no cursor writer.
  void LoadFromFileICO(const std::u16string& FileName);
  void LoadFromStreamICO(TStream* Stream);
  void SaveToFileICO(const std::u16string& FileName);
  void SaveToStreamICO(TStream* Stream);
  void LoadFromFileCUR(const std::u16string& FileName);
  void LoadFromStreamCUR(TStream* Stream);
  // WMF and EMF through the platform's metafile, rendered into a 24-bit picture of Width x
  // Height (both at least 1), of the metafile's proportions by the other side (one negative),
  // or of its own size (both negative), the larger side at most IEMetafileMaxSize. WithAlpha
  // makes what the metafile does not paint transparent. The stream load always runs on the
  // caller's thread.
  void LoadFromFileMetafile(const std::u16string& FileName, Integer Width, Integer Height, bool WithAlpha);
  void LoadFromStreamMetafile(TStream* Stream, Integer Width, Integer Height, bool WithAlpha);
  // Headerless pixel data into the picture as it is allocated (its size and pixel format),
  // laid out as the parameters' Raw* fields say; an empty file name does nothing.
  void LoadFromFileRawBitmap(const std::u16string& FileName);
  void LoadFromStreamRawBitmap(TStream* Stream);
  // PSD: with Params.PsdLoadLayers an attached image view takes the file's layers (in place of
  // its own with PsdReplaceLayers); saving from an image view writes its layers and their merge.
  void LoadFromFilePSD(const std::u16string& FileName);
  void LoadFromStreamPSD(TStream* Stream);
  void SaveToFilePSD(const std::u16string& FileName);
  void SaveToStreamPSD(TStream* Stream);
  // JPEG 2000: either loader reads a JP2 file or a bare code stream; the JP2 saves write the
  // file, the J2K saves the code stream.
  void LoadFromFileJP2(const std::u16string& FileName);
  void LoadFromStreamJP2(TStream* Stream);
  void SaveToFileJP2(const std::u16string& FileName);
  void SaveToStreamJP2(TStream* Stream);
  void LoadFromFileJ2K(const std::u16string& FileName);
  void LoadFromStreamJ2K(TStream* Stream);
  void SaveToFileJ2K(const std::u16string& FileName);
  void SaveToStreamJ2K(TStream* Stream);
  // HD Photo through the system's imaging component; failing when it is not there.
  void LoadFromFileHDP(const std::u16string& FileName);
  void LoadFromStreamHDP(TStream* Stream);
  void SaveToFileHDP(const std::u16string& FileName);
  void SaveToStreamHDP(TStream* Stream);
  // PostScript and PDF: complete one-page documents of the picture (made ie24RGB unless it is
  // ie24RGB or ie1g); there are no readers.
  void SaveToFilePS(const std::u16string& FileName);
  void SaveToStreamPS(TStream* Stream);
  void SaveToFilePDF(const std::u16string& FileName);
  void SaveToStreamPDF(TStream* Stream);
  // Finish the multi-page PostScript or PDF document left open on its output stream and free
  // both; nothing when none is open.
  void ClosePSDocument();
  void ClosePDFDocument();
  // Vector objects (25), layers (26) or both (27) into the attached view of the right kind;
  // on the caller's thread, without progress or finish-work events.
  void LoadViewDataFromFile(const std::u16string& FileName, TIEFileType FileType);
  void LoadViewDataFromStream(TStream* Stream, TIEFileType FileType);
  // The loads return the file's page count (-1 when handed to a background thread).
  Integer LoadFromFileTIFF(const std::u16string& FileName);
  Integer LoadFromStreamTIFF(TStream* Stream);
  void SaveToFileTIFF(const std::u16string& FileName);
  void SaveToStreamTIFF(TStream* Stream);
  void LoadFromFilePCX(const std::u16string& FileName);
  void LoadFromStreamPCX(TStream* Stream);
  void SaveToFilePCX(const std::u16string& FileName);
  void SaveToStreamPCX(TStream* Stream);
  // DCX loads read page Params.DcxImageIndex; saves insert the picture as that page (the stream
  // saver empties the stream first, so only page 0 can be written there).
  void LoadFromFileDCX(const std::u16string& FileName);
  void LoadFromStreamDCX(TStream* Stream);
  void SaveToFileDCX(const std::u16string& FileName);
  void SaveToStreamDCX(TStream* Stream);
  // DICOM is read only: the loads read frame Params.ImageIndex (clamped to the last frame).
  void LoadFromFileDICOM(const std::u16string& FileName);
  void LoadFromStreamDICOM(TStream* Stream);
  // Camera raw is read only; the loads hand over to the registry's reader for "RAW" when the
  // built-in row was replaced.
  void LoadFromFileCameraRaw(const std::u16string& FileName);
  void LoadFromStreamCameraRaw(TStream* Stream);
  // GIF loads show frame Params.GifImageIndex as the frames 0 up to it laid over each other on
  // the logical screen (a single frame as it is); they return the file's frame count (-1 when
  // handed to a worker). Saves write one frame.
  Integer LoadFromFileGIF(const std::u16string& FileName);
  Integer LoadFromStreamGIF(TStream* Stream);
  void SaveToFileGIF(const std::u16string& FileName);
  void SaveToStreamGIF(TStream* Stream);

  // ---- AVI movies (zezudidioavi.cpp) ----------------------------------------------------
  // One movie at a time, open either for reading or for writing; all but LoadFromAVI run on
  // the caller's thread, none reports progress.
  // Opens a movie for reading (closing one that is open): its frame count, with
  // Params.AviFrameCount and AviFrameDelay (milliseconds per frame); 0 with Aborting set when
  // the file cannot be read as a movie.
  Integer OpenAVIFile(const std::u16string& FileName);
  // Frame FrameIndex of the movie open for reading into the picture: 1-bit frames as ie1g,
  // others as ie24RGB. No movie open or an index outside it changes nothing. Ends with
  // DoFinishWork.
  void LoadFromAVI(Integer FrameIndex);
  // Creates (replacing) a movie of Rate frames per second whose frames have Params' Width and
  // Height, compressed by the compressor of the four-character code Codec, or chosen in the
  // compression dialog when Codec is empty. 0 success; 1 no compressor of that code, or the
  // dialog cancelled; 2 not enough memory; 3 the compressor cannot compress such frames (or
  // fails otherwise). Aborting is true exactly when the result is not 0. A file that cannot be
  // created raises EInvalidGraphic "unable to create AVI file".
  Byte CreateAVIFile(const std::u16string& FileName, Integer Rate, const std::string& Codec);
  // Appends the picture as the next frame of the movie being written (nothing when none is):
  // 8-bit palette frames when Params say 8 bits and 1 sample, 1-bit frames for an ie1g picture,
  // 32-bit frames with the alpha in the fourth byte when the picture has alpha, else 24-bit. A
  // picture of another size or depth than the first frame is written as the first was. An
  // ie24RGB or ie1g picture is left as it is; others are converted to ie24RGB in place.
  void SaveToAVI();
  // Closes the movie in either mode (a written one is finished); nothing when none is open.
  void CloseAVIFile();

  // ---- Other operations ------------------------------------------------------------------
  // The parameters dialog; true when confirmed (or when OnDoPreviews handled it).
  virtual bool DoPreviews(Word Pages);
  // Makes the horizontal and vertical resolution equal by resampling the picture.
  void AdjustDPI();
  // Returns when no background operation of this component runs; with Abort true it asks
  // them to stop through Aborting.
  void WaitThreads(bool Abort);
  // True on one of this component's worker threads.
  bool InWorkerThread();
  // Refreshes whatever is attached after a load.
  void UpdateAttachedView();
  // Ends every operation: progress 100, then OnFinishWork (posted to the view from a worker).
  virtual void DoFinishWork();
  // The progress dispatcher bound into every progress record.
  virtual void DoProgress(TObject* Sender, Integer Percent);
  // Gives an attached image view the parameters' resolution without repainting it.
  virtual void UpdateViewDPI();
  // The scanner and camera object, made on the first call (owned); its progress callback is
  // WiaProgress.
  virtual TIEWia* GetWIAParams();
  // Reports Percent as the component's progress; true while Aborting is false.
  bool WiaProgress(Integer Percent);
  // The playback object, made on the first call (owned); an attached view's window receives
  // its new-frame (IEM_NEWFRAME) and event (IEM_EVENT) messages.
  virtual TIEDirectShow* GetDShowParams();
  // Gives the playback object the attached view's current window when that has changed.
  void UpdateDShowNotifyWindow();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  // ---- The frame shared by the operations (see the per-format files) ---------------------
  // The background rule: an operation runs now while the picture is the component's own,
  // without AsyncMode, on one of its worker threads, or inside LoadFromBuffer.
  bool MustRunNow();
  // Unless the operation must run now: a worker that calls it again with the same arguments,
  // and true (the caller returns at once).
  bool HandToThread(TIEIOThread::TFileProc Operation, const std::u16string& FileName);
  bool HandToThread(TIEIOThread::TStreamProc Operation, TStream* Stream);
  bool HandToThread(TIEIOThread::TFileFunc Operation, const std::u16string& FileName);
  bool HandToThread(TIEIOThread::TStreamFunc Operation, TStream* Stream);
  bool HandToThread(TIEIOThread::TFileFormatProc Operation, const std::u16string& FileName,
                    TIEFileType FileType);
  bool HandToThread(TIEIOThread::TStreamFormatProc Operation, TStream* Stream, TIEFileType FileType);
  bool HandToThread(TIEIOThread::TFrameProc Operation, Integer FrameIndex);
  bool HandToThread(TIEIOThread::TFileMetafileProc Operation, const std::u16string& FileName, Integer Width,
                    Integer Height, bool WithAlpha);
  // The progress record of an operation: DoProgress, this component, its Aborting flag.
  TIEIOProgress MakeProgress();
  // Only the abort flag: parameters-only reads report no progress.
  TIEIOProgress MakeSilentProgress();
  // Aborting true, the file opened for reading with writers excluded, Aborting false; the
  // open's exception passes with Aborting still true.
  std::unique_ptr<TStream> OpenFileForLoad(const std::u16string& FileName);
  // Aborting true, a file created beside FileName, Aborting false, Writer, and the new file
  // put in FileName's place only when Writer left Aborting false: a failed save never
  // destroys the old file. A create failure raises with Aborting still true; an exception of
  // Writer discards the new file and passes on.
  void WriteReplacingFile(const std::u16string& FileName, const std::function<void(TStream*)>& Writer);
  // The picture as ie24RGB unless it is ie24RGB or ie1g, as most writers want it.
  void ConvertForWriter();
  // A consistent picture to work on; without one Aborting is set and the result is false.
  bool PictureReady();
  // Loads: PictureReady, then the parameters' info reset and the picture's alpha channel dropped.
  bool BeginLoad();
  // Loads after the reader: default and adjusted resolutions, the file name (empty for a
  // stream) and type recorded, the attached view told.
  void EndLoad(const std::u16string& FileName, TIEFileType FileType);
  // Resolutions below 2 become the library default.
  void ApplyDefaultDPI();
  // Loads after the reader: AdjustDPI when AutoAdjustDPI, then UpdateViewDPI.
  void AdjustAndShowDPI();
  // The extension with its dot, in lower case.
  static std::string LowerExtension(const std::u16string& FileName);
  // Registry formats (not the component's own): the row's read and write procedures.
  // Clears the file name, type and picture info; a row without a real read procedure ends
  // the load here as failed (false).
  // Ends an operation that cannot run: Aborting set, then DoFinishWork.
  void FailWork();
  bool BeginExternalLoad(const TIEFileFormatInfo& Info);
  // CatchReader: an exception of the read procedure becomes Aborting instead of passing on.
  void LoadExternalFile(const std::u16string& FileName, const TIEFileFormatInfo& Info, bool CatchReader);
  void LoadExternalStream(TStream* Stream, const TIEFileFormatInfo& Info);
  void SaveExternalFile(const std::u16string& FileName, const TIEFileFormatInfo& Info);
  void SaveExternalStream(TStream* Stream, const TIEFileFormatInfo& Info);
  // The component's own loaders by code; false when the code has none.
  bool LoadOwnFormatFile(const std::u16string& FileName, TIEFileType FileType);
  bool LoadOwnFormatStream(TStream* Stream, TIEFileType FileType);
  // The parameters-only reader of a code over a buffered stream.
  void ReadParamsOnly(TStream* Stream, TIEFileType FileType);
  // The BMP reader and writer with this component's options.
  void ReadBMPStream(TStream* Stream);
  void WriteBMPStream(TStream* Stream);
  // A further format's reader or writer (PNM, WBMP), failing when the library did not hand it over.
  void ReadFilterStream(TStream* Stream, TIEReadFunction Read, TIEFileType FileType);
  void WriteFilterStream(TStream* Stream, TIEWriteFunction Write);
  // The TGA reader and writer; the picture's alpha channel travels as a mask.
  void ReadTGAStream(TStream* Stream);
  void WriteTGAStream(TStream* Stream);
  // The icon and cursor readers (FileType ioICO or ioCUR) and the icon writer.
  void ReadIconStream(TStream* Stream, TIEFileType FileType);
  // Draws a loaded metafile into the picture (the rules of LoadFromFileMetafile).
  void RenderMetafile(TMetafile* Metafile, Integer Width, Integer Height, bool WithAlpha);
  // The parameters of a metafile in the stream, the picture untouched.
  void ParamsFromMetafile(TStream* Stream);
  void WriteICOStream(TStream* Stream);
  void ReadRawBitmapStream(TStream* Stream);
  // The PSD reader and writer with the layers of an attached image view.
  void ReadPSDStream(TStream* Stream);
  void WritePSDStream(TStream* Stream);
  // The JPEG 2000 reader (the load's code is FileType) and writer (Container 0 JP2 file, 1 code
  // stream), and the file operations of both codes.
  void ReadJ2000Stream(TStream* Stream, TIEFileType FileType);
  void WriteJ2000Stream(TStream* Stream, Integer Container);
  void LoadFromFileJ2000(const std::u16string& FileName, TIEFileType FileType);
  void SaveToFileJ2000(const std::u16string& FileName, TIEFileType FileType);
  // A document writer (PostScript or PDF), failing when the library did not hand it over.
  void WriteDocumentStream(TStream* Stream, TIEWriteFunction Write);
  // The TIFF reader on page Params.TiffImageIndex; HasHeader: a 12-byte "TIFF" stream header
  // comes first. The page count.
  Integer ReadTIFFStream(TStream* Stream, bool HasHeader);
  void WriteTIFFStream(TStream* Stream);
  // The PCX reader; HasHeader: a "PCX2" stream header, or the older 4-byte "PCX" one, first.
  void ReadPCXStream(TStream* Stream, bool HasHeader);
  void WritePCXStream(TStream* Stream);
  void ReadDCXStream(TStream* Stream);
  void WriteDCXStream(TStream* Stream);
  // The DICOM reader; a file's name is stored by the caller.
  void ReadDICOMStream(TStream* Stream);
  // The camera raw reader; a file's name is stored by the caller.
  void ReadCameraRawStream(TStream* Stream);
  // The GIF frames read and composed; the frame count.
  Integer LoadGIFFrames(TStream* Stream);
  void WriteGIFStream(TStream* Stream);

  // ---- Attachment helpers ----------------------------------------------------------------
  void ViewBitmapChanged(TObject* Sender, bool Destroying);
  void TakeViewPicture();
  void UnregisterFromView();
  void FreeOwnIEBitmap();
  void UseNewOwnIEBitmap();
  void ForgetAttachedBitmap();
  // The picture wraps the attached platform bitmap.
  void WrapAttachedBitmap(bool FreeCurrent);
  // Posts Msg to the attached view from a worker; false when the caller is no worker or no
  // view with a parent window is attached (then the caller acts directly).
  bool PostToView(UINT Msg, WPARAM WParam);

  TBitmap* FAttachedBitmap = nullptr;       // not owned
  TIEBitmap* FIEBitmap = nullptr;           // FOwnIEBitmap, the view's or the caller's
  std::unique_ptr<TIEBitmap> FOwnIEBitmap;  // set while the component owns the picture
  TIEView* FAttachedZezudId = nullptr;      // not owned; free notification
  TIEBitmapChangeHandle FViewNotifyHandle = nullptr;
  TImage* FAttachedTImage = nullptr;  // not owned; free notification
  TColor FBackgroundColor = 0;
  TMsgLanguage FMsgLanguage = msSystem;
  TIOPreviewsParams FPreviewsParams;
  bool FSimplifiedParamsDialogs = true;
  bool FStreamHeaders = false;
  std::unique_ptr<TIETWainParams> FTWainParams;
  std::unique_ptr<TFont> FPreviewFont;
  TIEDialogsMeasureUnit FDialogsMeasureUnit = ieduInches;
  bool FAutoAdjustDPI = false;
  bool FFilteredAdjustDPI = false;
  std::vector<TIEIOThread*> FThreadList;  // not owned: each thread frees itself
  TEvent FThreadsDone{false, false};      // auto-reset: set when the last thread has left
  TCriticalSection FThreadLock;           // guards FThreadList and FThreadsDone
  bool FAsyncMode = false;
  // LoadFromBuffer's memory stream must not outlive its call: its stream callees run here.
  bool FKeepOnCallerThread = false;
  Byte FBlackWhiteConversion = 1;
  std::unique_ptr<TIOPrintPreviewParams> FPrintPreviewParams;
  std::unique_ptr<TIOParamsVals> FParams;
  // The multi-page PostScript and PDF documents being written and their output streams; no
  // operation opens one, the destructor finishes what is open.
  std::unique_ptr<PsDocumentState> FPSDocument;
  std::unique_ptr<TStream> FPSDocumentStream;
  std::unique_ptr<PdfDocumentState> FPDFDocument;
  std::unique_ptr<TStream> FPDFDocumentStream;
  bool FAborting = false;  // reached through std::atomic_ref only
  TIEProgressEvent FOnProgress;
  TNotifyEvent FOnFinishWork;
  TIEIOPreviewEvent FOnIOPreview;
  TIEDoPreviewsEvent FOnDoPreviews;
  std::u16string FProxyAddress, FProxyUser, FProxyPassword;
  std::unique_ptr<TIEWia> FWIAParams;
  std::unique_ptr<TIEDirectShow> FDShowParams;  // made by GetDShowParams
  // The movie open for reading (FAviFile, FAviStream, FAviFrameGetter) or writing (FAviFile,
  // FAviPlainStream, and FAviStream when the compressed stream was made). References owned.
  PAVIFILE FAviFile = nullptr;
  PAVISTREAM FAviStream = nullptr;
  PAVISTREAM FAviPlainStream = nullptr;
  PGETFRAME FAviFrameGetter = nullptr;
  AVISTREAMINFOW FAviStreamInfo;
  std::unique_ptr<AVICOMPRESSOPTIONS> FAviCompressOptions;
  Integer FAviFrameCounter = 0;
  // The first frame's size and bit count: later frames are written in that format.
  Integer FAviFrameWidth = 0;
  Integer FAviFrameHeight = 0;
  Integer FAviFrameBitCount = 0;
};
