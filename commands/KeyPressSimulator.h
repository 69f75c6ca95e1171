#pragma once

#include <Qt>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The toy mode in which random typing writes the stored document back, one byte per key.
namespace simulator {

inline constexpr char kNoticeTitle[] = "KeyPress Simulator";
// The refusal shown for a blank document: three lines, each ended by a single CR.
std::string RefusalNotice();

// A document with nothing above code 32 cannot be replayed.
bool Refuses(std::string_view document);

// The byte at the 1-based `pos` of `stored`, moving `pos` on; nothing once all is written.
std::optional<char> TakeNext(std::string_view stored, std::int64_t& pos);

// True for a key that would type a character into the editor: letters, digits, punctuation,
// blank, Enter, Backspace, Escape and control characters. Tab only with Ctrl (plain Tab moves
// the focus), Delete and keys with Alt or Meta (menu keys) type nothing.
bool TypesCharacter(int key, Qt::KeyboardModifiers modifiers, QStringView text);

} // namespace simulator
