#pragma once

#include <QString>

// Where the recovery copies live: the program folder in portable mode (QUORLEX_HOME set, or
// the executable's folder writable), else $XDG_STATE_HOME/quorlex (default
// ~/.local/state/quorlex). The folder is created on first need with mode 0700; empty when
// it cannot be made.
QString RecoveryFolder();

// The choice itself, from what the environment holds: `stateHome` is $XDG_STATE_HOME and
// `home` is $HOME (either may be empty).
QString ChooseRecoveryFolder(bool portable, const QString& programFolder, const QString& stateHome,
                             const QString& home);

// Makes `folder` and its missing parents with mode 0700; true when it is there afterwards.
bool MakePrivateFolder(const QString& folder);
