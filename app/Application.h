#pragma once

// The program's identity for Qt: its name and icon. It sets no application display name,
// which Qt would append to the title of every window on X11 and Wayland; the application
// title is the main window's caption.
void SetUpApplication();
