// Dragging controls: BeginDrag and automatic dragging, the drag loop on a capture window, and
// CM_DRAG to the controls under the mouse.
#include <cstdlib>
#include <memory>

#include "platform/classes/Application.h"
#include "platform/classes/DragObjects.h"
#include "platform/classes/Screen.h"
#include "platform/classes/UtilityWindow.h"
#include "platform/user/Cursors.h"
#include "platform/user/Input.h"
#include "platform/user/WindowPos.h"
#include "platform/user/WndProc.h"

// ---- Drag objects -----------------------------------------------------------------------------

TDragObject::TDragObject() = default;
TDragObject::~TDragObject() = default;

TCursor TDragObject::GetDragCursor(bool Accepted, Integer, Integer) {
  return Accepted ? crDrag : crNoDrop;
}

void TDragObject::Finished(TObject*, Integer, Integer, bool) {}

TCursor TDragControlObject::GetDragCursor(bool Accepted, Integer, Integer) {
  return Accepted ? FControl->GetDragCursor() : crNoDrop;
}

void TDragControlObject::Finished(TObject* Target, Integer X, Integer Y, bool) {
  FControl->DoEndDrag(Target, X, Y);
}

// ---- The drag in progress ---------------------------------------------------------------------

// One drag at a time: the source, its drag object and the hidden window that holds the mouse.
class TDragSession {
 public:
  TDragSession(TControl* ASource, TDragObject* AObject, bool AOwnsObject, Integer AThreshold)
      : Source(ASource), Object(AObject), OwnsObject(AOwnsObject), Threshold(AThreshold) {}
  ~TDragSession() {
    if (OwnsObject) delete Object;
  }

  void Start(bool Immediate);
  // The mouse is at Pos (screen).
  void DragTo(TPoint Pos);
  // Ends the drag (drops when Drop and the target accepts) and frees the session.
  void Done(bool Drop);
  // Ends it without telling anyone (the source went away).
  void Abandon();
  void TargetDestroyed(TControl* Control);

  TControl* const Source;
  TDragObject* const Object;

 private:
  void WndProc(TMessage& Message);
  void KeyFilter(MSG& Msg, bool& Handled);
  bool SendDrag(TDragMessage Kind);
  void Release();

  bool OwnsObject;
  Integer Threshold;
  TPoint StartPos;
  bool Active = false;  // the mouse moved past the threshold (or the drag was immediate)
  bool Ending = false;
  HWND CaptureWnd = nullptr;
};

namespace {
std::unique_ptr<TDragSession> Session;

void SetScreenCursor(TCursor Cursor) {
  if (Screen != nullptr) SetCursor(Screen->GetCursors(Cursor));
}
}  // namespace

TDragObject* DragObjectInProgress() {
  return Session != nullptr ? Session->Object : nullptr;
}

void DragControlDestroyed(TControl* Control) {
  if (Session == nullptr) return;
  if (Session->Source == Control)
    Session->Abandon();
  else
    Session->TargetDestroyed(Control);
}

void TDragSession::Start(bool Immediate) {
  GetCursorPos(&StartPos);
  Object->FDragPos = StartPos;
  CaptureWnd = AllocateHWnd(TDelegate<void(TMessage&)>(this, &TDragSession::WndProc));
  SetCapture(CaptureWnd);
  if (Application != nullptr) Application->AddMessageFilter(TMessageEvent(this, &TDragSession::KeyFilter));
  if (Immediate) {
    Active = true;
    DragTo(StartPos);
  }
}

void TDragSession::DragTo(TPoint Pos) {
  if (!Active && std::abs(Pos.X - StartPos.X) < Threshold && std::abs(Pos.Y - StartPos.Y) < Threshold) return;
  Active = true;
  TControl* NewTarget = FindDragTarget(Pos, false);
  if (NewTarget != Object->FDragTarget) {
    if (Object->FDragTarget != nullptr) SendDrag(dmDragLeave);
    if (Session.get() != this) return;
    Object->FDragTarget = NewTarget;
    Object->FDragPos = Pos;
    if (NewTarget != nullptr) SendDrag(dmDragEnter);
    if (Session.get() != this) return;
  }
  Object->FDragPos = Pos;
  const bool Accepted = Object->FDragTarget != nullptr && SendDrag(dmDragMove);
  if (Session.get() != this) return;
  SetScreenCursor(Object->GetDragCursor(Accepted, Pos.X, Pos.Y));
}

bool TDragSession::SendDrag(TDragMessage Kind) {
  TDragRec Rec;
  Rec.Pos = Object->FDragPos;
  Rec.Source = Object;
  Rec.Target = Object->FDragTarget;
  return Object->FDragTarget->Perform(CM_DRAG, Kind, reinterpret_cast<LPARAM>(&Rec)) != 0;
}

void TDragSession::Done(bool Drop) {
  if (Ending) return;
  Ending = true;
  Release();
  bool Accepted = false;
  TControl* Target = Object->FDragTarget;
  TPoint TargetPos;
  if (Active && Target != nullptr) {
    // The target hears the drag leave whether it is dropped or cancelled; its answer decides.
    Accepted = SendDrag(dmDragLeave) && Drop;
    Target = Object->FDragTarget;  // it may have gone meanwhile
    Accepted = Accepted && Target != nullptr;
    if (Accepted) {
      TargetPos = Target->ScreenToClient(Object->FDragPos);
      SendDrag(dmDragDrop);
    }
  }
  if (!Accepted) {
    Target = nullptr;
    TargetPos = {0, 0};
    Object->FDragTarget = nullptr;
  }
  // The session is gone before the source hears the end: its handler may start a new drag.
  std::unique_ptr<TDragSession> Self = std::move(Session);
  SetScreenCursor(Screen != nullptr ? Screen->GetCursor() : crDefault);
  Object->Finished(Target, TargetPos.X, TargetPos.Y, Accepted);
}

void TDragSession::Abandon() {
  Ending = true;
  Release();
  Session.reset();
}

void TDragSession::TargetDestroyed(TControl* Control) {
  if (Object->FDragTarget == Control) Object->FDragTarget = nullptr;
}

void TDragSession::Release() {
  if (Application != nullptr) Application->RemoveMessageFilter(TMessageEvent(this, &TDragSession::KeyFilter));
  const HWND Wnd = CaptureWnd;
  CaptureWnd = nullptr;
  if (Wnd == nullptr) return;
  if (GetCapture() == Wnd) ReleaseCapture();
  DeallocateHWnd(Wnd);
}

void TDragSession::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: {
      POINT P = LParamToPoint(Message.LParam);
      ClientToScreen(CaptureWnd, &P);
      DragTo(P);
      break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      Done(true);
      break;
    case WM_RBUTTONDOWN:
    case WM_CAPTURECHANGED:
      Done(false);
      break;
    default:
      Message.Result = DefWindowProc(CaptureWnd, Message.Msg, Message.WParam, Message.LParam);
      break;
  }
}

// Escape ends the drag wherever the keyboard focus is.
void TDragSession::KeyFilter(MSG& Msg, bool& Handled) {
  if (Msg.message != WM_KEYDOWN || Msg.wParam != VK_ESCAPE) return;
  Handled = true;
  Done(false);
}

// ---- TControl ---------------------------------------------------------------------------------

void TControl::BeginDrag(bool Immediate, Integer Threshold) {
  if (Session != nullptr || FDragKind != dkDrag) return;
  if (Threshold < 0) Threshold = DefaultDragThreshold;
  TDragObject* Supplied = nullptr;
  DoStartDrag(Supplied);
  if (Session != nullptr) return;  // the handler started another drag
  const bool Owns = Supplied == nullptr;
  TDragObject* Object = Owns ? new TDragControlObject(this) : Supplied;
  Session = std::make_unique<TDragSession>(this, Object, Owns, Threshold);
  Session->Start(Immediate);
}

void TControl::EndDrag(bool Drop) {
  if (Dragging()) Session->Done(Drop);
}

bool TControl::Dragging() const {
  return Session != nullptr && Session->Source == this;
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
  if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  Accept = false;
  if (!OnDragOver) return;
  Accept = true;
  OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::CMDrag(TMessage& Message) {
  auto* Rec = reinterpret_cast<TDragRec*>(Message.LParam);
  const auto Kind = static_cast<TDragMessage>(Message.WParam);
  if (Kind == dmFindTarget) {
    Message.Result = reinterpret_cast<LRESULT>(this);
    return;
  }
  if (Rec == nullptr || Rec->Source == nullptr) return;
  // Handlers see the dragged control, not the object that carries it.
  TObject* Source = Rec->Source;
  if (auto* ControlObject = dynamic_cast<TDragControlObject*>(Rec->Source))
    Source = ControlObject->GetControl();
  const TPoint P = ScreenToClient(Rec->Pos);
  switch (Kind) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      bool Accept = false;
      DragOver(Source, P.X, P.Y, static_cast<TDragState>(Kind), Accept);
      Message.Result = Accept ? 1 : 0;
      break;
    }
    case dmDragDrop:
      DragDrop(Source, P.X, P.Y);
      break;
    default:
      break;
  }
}
