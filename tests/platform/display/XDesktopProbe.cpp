#include "tests/platform/display/XDesktopProbe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

Display* Dpy(void* P) {
  return static_cast<Display*>(P);
}

}  // namespace

TXDesktopProbe::TXDesktopProbe() : FDisplay(XOpenDisplay(nullptr)) {}

TXDesktopProbe::~TXDesktopProbe() {
  if (FDisplay) XCloseDisplay(Dpy(FDisplay));
}

TPoint TXDesktopProbe::Position(unsigned long Window) {
  XWindowAttributes A;
  ::Window Child;
  int X = 0, Y = 0;
  if (Window == 0 || !XGetWindowAttributes(Dpy(FDisplay), Window, &A)) return {-99999, -99999};
  XTranslateCoordinates(Dpy(FDisplay), Window, DefaultRootWindow(Dpy(FDisplay)), 0, 0, &X, &Y, &Child);
  return {X, Y};
}

bool TXDesktopProbe::OverrideRedirect(unsigned long Window) {
  XWindowAttributes A;
  return Window != 0 && XGetWindowAttributes(Dpy(FDisplay), Window, &A) && A.override_redirect;
}

unsigned long TXDesktopProbe::TransientFor(unsigned long Window) {
  ::Window Owner = 0;
  if (Window == 0 || !XGetTransientForHint(Dpy(FDisplay), Window, &Owner)) return 0;
  return Owner;
}

double TXDesktopProbe::Opacity(unsigned long Window) {
  const Atom Property = XInternAtom(Dpy(FDisplay), "_NET_WM_WINDOW_OPACITY", False);
  Atom Type;
  int Format;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  double Result = -1;
  if (Window != 0 && XGetWindowProperty(Dpy(FDisplay), Window, Property, 0, 1, False, XA_CARDINAL, &Type,
                                        &Format, &Count, &After, &Data) == Success) {
    if (Data != nullptr && Count == 1)
      Result = static_cast<double>(*reinterpret_cast<unsigned long*>(Data) & 0xFFFFFFFFul) / 0xFFFFFFFFul;
    if (Data != nullptr) XFree(Data);
  }
  return Result;
}

TSize TXDesktopProbe::IconSize(unsigned long Window) {
  const Atom Property = XInternAtom(Dpy(FDisplay), "_NET_WM_ICON", False);
  Atom Type;
  int Format;
  unsigned long Count = 0, After = 0;
  unsigned char* Data = nullptr;
  TSize Result;
  if (Window != 0 && XGetWindowProperty(Dpy(FDisplay), Window, Property, 0, 2, False, XA_CARDINAL, &Type,
                                        &Format, &Count, &After, &Data) == Success) {
    if (Data != nullptr && Count == 2) {
      const auto* Values = reinterpret_cast<const unsigned long*>(Data);
      Result = {static_cast<Integer>(Values[0]), static_cast<Integer>(Values[1])};
    }
    if (Data != nullptr) XFree(Data);
  }
  return Result;
}

void TXDesktopProbe::RequestClose(unsigned long Window) {
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = Window;
  E.xclient.message_type = XInternAtom(Dpy(FDisplay), "_NET_CLOSE_WINDOW", False);
  E.xclient.format = 32;
  E.xclient.data.l[1] = 2;  // a pager or task bar asks
  XSendEvent(Dpy(FDisplay), DefaultRootWindow(Dpy(FDisplay)), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &E);
  XFlush(Dpy(FDisplay));
}

unsigned long TXDesktopProbe::CreateWindow(const TRect& R, const std::string& Title) {
  Display* D = Dpy(FDisplay);
  const ::Window W =
      XCreateSimpleWindow(D, DefaultRootWindow(D), R.Left, R.Top, static_cast<unsigned>(R.Width()),
                          static_cast<unsigned>(R.Height()), 0, 0, 0xFFFFFF);
  XStoreName(D, W, Title.c_str());
  XMapWindow(D, W);
  XFlush(D);
  return W;
}

void TXDesktopProbe::DestroyWindow(unsigned long Window) {
  XDestroyWindow(Dpy(FDisplay), Window);
  XFlush(Dpy(FDisplay));
}
