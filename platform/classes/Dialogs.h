#pragma once
// The platform's dialogs: the message box (MessageBox), the class library's message dialogs
// (MessageDlg, ShowMessage, CreateMessageDialog) and the font dialog (TFontDialog). All are
// forms shown with ShowModal, so a test answers them through the modal hook.
//
// Once this library is linked, the application's exception box (ShowExceptionBox) is a
// message box with the stop icon.
//
// Files: Dialogs.cpp (the message forms, MessageBox, MessageDlg), DialogsFont.cpp (the font
// dialog).
#include <memory>
#include <string>

#include "platform/classes/Forms.h"
#include "platform/classes/GraphicsObjects.h"

// ---- MessageBox -----------------------------------------------------------------------------
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFBUTTON4 = 0x00000300;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;

constexpr Integer IDOK = 1;
constexpr Integer IDCANCEL = 2;
constexpr Integer IDABORT = 3;
constexpr Integer IDRETRY = 4;
constexpr Integer IDIGNORE = 5;
constexpr Integer IDYES = 6;
constexpr Integer IDNO = 7;

// A modal box with Text (wrapped in the message-box font), the icon the type names and the
// buttons of the type; returns the ID of the button pressed. Escape (or closing the box)
// answers IDCANCEL when the box has a Cancel button, IDOK for a lone OK button, and does
// nothing otherwise. An empty caption shows "Error". Owner may be null.
Integer MessageBox(HWND Owner, const std::string& Text, const std::string& Caption, UINT Type);

// ---- Message dialogs ------------------------------------------------------------------------
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp
};
using TMsgDlgButtons = TSet<TMsgDlgBtn, 16>;
inline const TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline const TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline const TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline const TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline const TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// The message form (not shown; the caller deletes it): the type's icon and title ("Warning",
// "Error", "Information", "Confirm"; mtCustom: the application's title, no icon), the text in
// a word-wrapped label at most half the screen wide, and the buttons in the platform's order,
// centred below. The default button is OK, else Yes, else Retry; the cancel button Cancel,
// else No, else OK. The icon is a TImage named "Image", the text a TLabel named "Message",
// the buttons TButtons named "Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All",
// "NoToAll", "YesToAll", "Help".
TForm* CreateMessageDialog(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
// Shows that form modally; returns its ModalResult (mrCancel when closed otherwise).
Integer MessageDlg(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx);
// The same at a screen position (-1: centred).
Integer MessageDlgPos(const std::string& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, Integer HelpCtx,
                      Integer X, Integer Y);
// An OK box titled with the application's title.
void ShowMessage(const std::string& Msg);

// The font of message boxes and dialogs.
TFont* MessageFont();

// ---- The font dialog ------------------------------------------------------------------------
enum TFontDialogOption {
  fdAnsiOnly,
  fdTrueTypeOnly,
  fdEffects,
  fdFixedPitchOnly,
  fdForceFontExist,
  fdNoFaceSel,
  fdNoOEMFonts,
  fdNoSimulations,
  fdNoSizeSel,
  fdNoStyleSel,
  fdNoVectorFonts,
  fdShowHelp,
  fdWysiwyg,
  fdLimitSize,
  fdScalableOnly,
  fdApplyButton
};
using TFontDialogOptions = TSet<TFontDialogOption, 16>;

// The font dialog: the installed families (Screen.Fonts), the style (Regular, Italic, Bold,
// Bold Italic), the size (a list of 8 .. 72 or a typed number), with fdEffects strikeout,
// underline and a colour of the 16 standard ones, and a sample. With fdLimitSize a size
// outside MinFontSize .. MaxFontSize is refused with a message and the dialog stays.
class TFontDialog : public TComponent {
 public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;

  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  TFontDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TFontDialogOptions Value) { FOptions = Value; }
  Integer GetMinFontSize() const { return FMinFontSize; }
  void SetMinFontSize(Integer Value) { FMinFontSize = Value; }
  Integer GetMaxFontSize() const { return FMaxFontSize; }
  void SetMaxFontSize(Integer Value) { FMaxFontSize = Value; }
  // Shows the dialog; true (and Font the chosen one) when closed with OK.
  virtual bool Execute();

  TNotifyEvent OnShow;
  TNotifyEvent OnClose;

 private:
  std::unique_ptr<TFont> FFont;
  TFontDialogOptions FOptions{fdEffects};
  Integer FMinFontSize = 0;
  Integer FMaxFontSize = 0;
};
