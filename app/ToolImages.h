#pragma once

#include <QIcon>

// The 15 images of the tool bar and menus, drawn in code (16 x 16):
// 0 cut, 1 copy, 2 paste, 3 undo, 4 delete, 5 new, 6 open, 7 save, 8 redo, 9-10 spare,
// 11 find, 12 replace, 13 print, 14 analyze.
QIcon ToolImage(int index);
