#pragma once

class QWidget;

// Asks the window manager for a dialog frame with a title and no caption buttons: the window
// can be moved, not minimised, maximised, resized or closed from its frame. Qt cannot say this
// on X11: without a button hint it leaves the decorations to the window manager, which then
// draws all of them. So the frame hints are written directly; call it when the window is about
// to be shown. On other platforms it does nothing.
void UseDialogFrameWithoutButtons(QWidget& window);
