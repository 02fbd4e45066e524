// Test helpers for windows on the test's X server: asking a window to close as a window manager does.
#pragma once
#include <X11/Xlib.h>

// Sends the window the WM_DELETE_WINDOW message that a window manager sends when the user closes
// it; false when there is no display.
inline bool askWindowToClose(Window window) {
  Display *display = XOpenDisplay(nullptr);
  if (!display) return false;
  XEvent event = {};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
  XCloseDisplay(display);
  return true;
}
