#pragma once

#include "document/TextFile.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

class QWidget;

// A save whose bytes go to disk from a worker thread while the window goes on painting.
//
// While it runs the text must not change, so user input is held: keys, shortcuts and input
// methods (whichever window they are for) and clicks in the editor are kept, in the order they
// came, until ReplayHeldInput; clicks anywhere else (menus, tool bar) are refused, as are files
// and text dropped meanwhile. Closing the window waits for the save and is asked again after
// the held keys. A save that runs longer than kShowAfterMs shows its progress.
namespace background_save {

inline constexpr int kShowAfterMs = 300;

// Runs `write` on a worker (with `setup`, which the progress is added to) and returns once it
// has ended, throwing its error here, on the window's thread. `editor` is the widget whose
// clicks are held; `documentBytes` the size the progress counts towards. A save asked for
// while one runs first waits for that one.
void Run(QWidget* window, QWidget* editor, const QString& path, std::int64_t documentBytes, WriteSetup setup,
         const std::function<void(const WriteSetup&)>& write);

// Whether a save is running now.
bool Running();

// Returns once no save is writing (the session's end may not wait for the event loop).
void WaitForEnd();

// Hands the input held during the last save to where it was going, in its order, and then
// the close that waited. The command that saved calls it once it has ended, so that the keys
// typed meanwhile come after all it did (a Save's clearing of the modified flag among it).
// Returns how many events it handed on.
int ReplayHeldInput();

// Tests make the write slow: at most `chunk` bytes a write, each followed by a pause of
// `pauseMs` on the worker. {0, 0} is the normal pace.
void SetPaceForTests(std::size_t chunk, int pauseMs);

} // namespace background_save
