#include "platform/display/X11Desktop.h"

#include <SDL_syswm.h>
// Xlib's macros (None, Status, ...) stay inside this file.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <string>

namespace {

struct TX11Window {
  Display* Dpy = nullptr;
  Window Win = 0;
};

bool X11Of(SDL_Window* W, TX11Window& Out) {
  if (W == nullptr) return false;
  SDL_SysWMinfo Info;
  SDL_VERSION(&Info.version);
  if (!SDL_GetWindowWMInfo(W, &Info) || Info.subsystem != SDL_SYSWM_X11) return false;
  Out.Dpy = Info.info.x11.display;
  Out.Win = Info.info.x11.window;
  return Out.Dpy != nullptr && Out.Win != 0;
}

// SDL's own connection to the X server, reached through any window; a private one otherwise.
Display* AnyDisplay() {
  static Display* Own = nullptr;
  if (SDL_Window* W = SDL_GetKeyboardFocus() ? SDL_GetKeyboardFocus() : SDL_GetMouseFocus()) {
    TX11Window X;
    if (X11Of(W, X)) return X.Dpy;
  }
  if (Own == nullptr && std::string(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") == "x11")
    Own = XOpenDisplay(nullptr);
  return Own;
}

}  // namespace

unsigned long X11WindowId(SDL_Window* Window) {
  TX11Window X;
  return X11Of(Window, X) ? X.Win : 0;
}

void SetX11WindowShape(SDL_Window* Window, const std::vector<TRect>* Rects) {
  TX11Window X;
  if (!X11Of(Window, X)) return;
  int Event = 0, Error = 0;
  if (!XShapeQueryExtension(X.Dpy, &Event, &Error)) return;
  if (Rects == nullptr) {
    XShapeCombineMask(X.Dpy, X.Win, ShapeBounding, 0, 0, None, ShapeSet);
  } else {
    std::vector<XRectangle> Xr;
    Xr.reserve(Rects->size());
    for (const TRect& R : *Rects)
      Xr.push_back(XRectangle{static_cast<short>(R.Left), static_cast<short>(R.Top),
                              static_cast<unsigned short>(R.Width()),
                              static_cast<unsigned short>(R.Height())});
    XShapeCombineRectangles(X.Dpy, X.Win, ShapeBounding, 0, 0, Xr.data(), static_cast<int>(Xr.size()),
                            ShapeSet, Unsorted);
  }
  XFlush(X.Dpy);
}

bool GetX11WindowShape(SDL_Window* Window, std::vector<TRect>& Rects) {
  TX11Window X;
  if (!X11Of(Window, X)) return false;
  int Event = 0, Error = 0;
  if (!XShapeQueryExtension(X.Dpy, &Event, &Error)) return false;
  Bool Bounding = False, ClipShaped = False;
  int Bx, By, Cx, Cy;
  unsigned Bw, Bh, Cw, Ch;
  if (!XShapeQueryExtents(X.Dpy, X.Win, &Bounding, &Bx, &By, &Bw, &Bh, &ClipShaped, &Cx, &Cy, &Cw, &Ch) ||
      !Bounding)
    return false;
  int Count = 0, Ordering = 0;
  XRectangle* Xr = XShapeGetRectangles(X.Dpy, X.Win, ShapeBounding, &Count, &Ordering);
  Rects.clear();
  for (int I = 0; I < Count; ++I)
    Rects.push_back(TRect{Xr[I].x, Xr[I].y, Xr[I].x + Xr[I].width, Xr[I].y + Xr[I].height});
  if (Xr != nullptr) XFree(Xr);
  return true;
}

bool X11CompositorPresent() {
  Display* Dpy = AnyDisplay();
  if (Dpy == nullptr) return false;
  const std::string Name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(Dpy));
  const Atom Selection = XInternAtom(Dpy, Name.c_str(), False);
  return XGetSelectionOwner(Dpy, Selection) != 0;
}

bool X11PointerPosition(TPoint& Position) {
  Display* Dpy = AnyDisplay();
  if (Dpy == nullptr) return false;
  ::Window Root, Child;
  int X = 0, Y = 0, WinX, WinY;
  unsigned Mask;
  if (!XQueryPointer(Dpy, DefaultRootWindow(Dpy), &Root, &Child, &X, &Y, &WinX, &WinY, &Mask)) return false;
  Position = {X, Y};
  return true;
}

void SetX11TransientFor(SDL_Window* Window, SDL_Window* Owner) {
  TX11Window X, O;
  if (!X11Of(Window, X)) return;
  if (X11Of(Owner, O))
    XSetTransientForHint(X.Dpy, X.Win, O.Win);
  else
    XDeleteProperty(X.Dpy, X.Win, XA_WM_TRANSIENT_FOR);
  XFlush(X.Dpy);
}

void SetX11Opacity(SDL_Window* Window, float Opacity) {
  TX11Window X;
  if (!X11Of(Window, X)) return;
  const Atom Property = XInternAtom(X.Dpy, "_NET_WM_WINDOW_OPACITY", False);
  if (Opacity >= 1.0f) {
    XDeleteProperty(X.Dpy, X.Win, Property);
  } else {
    const unsigned long Value = static_cast<unsigned long>(std::max(Opacity, 0.0f) * 4294967295.0);
    XChangeProperty(X.Dpy, X.Win, Property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Value), 1);
  }
  XFlush(X.Dpy);
}

bool ReadX11WindowPixels(SDL_Window* Window, std::vector<DWORD>& Pixels, TSize& Size) {
  TX11Window X;
  if (!X11Of(Window, X)) return false;
  XWindowAttributes A;
  if (!XGetWindowAttributes(X.Dpy, X.Win, &A) || A.width <= 0 || A.height <= 0) return false;
  XSync(X.Dpy, False);
  XImage* Image = XGetImage(X.Dpy, X.Win, 0, 0, static_cast<unsigned>(A.width),
                            static_cast<unsigned>(A.height), AllPlanes, ZPixmap);
  if (Image == nullptr) return false;
  Size = {A.width, A.height};
  Pixels.resize(static_cast<size_t>(A.width) * A.height);
  for (int Y = 0; Y < A.height; ++Y)
    for (int Xp = 0; Xp < A.width; ++Xp)
      Pixels[static_cast<size_t>(Y) * A.width + Xp] =
          static_cast<DWORD>(XGetPixel(Image, Xp, Y)) & 0x00FFFFFFu;
  XDestroyImage(Image);
  return true;
}
