#pragma once

#include <QString>

class QCoreApplication;

// The language of the windows: Turkish when QUORLEX_LANG is "tr", English when it is "en",
// otherwise Turkish exactly when the user's locale (LC_ALL, LC_MESSAGES, LANG) is Turkish.
bool TurkishWanted();

// Installs the program's Turkish texts, and Qt's own for the standard dialogs, when Turkish is
// wanted; English needs nothing, the sources are English. False when a wanted file is missing.
bool InstallTranslations(QCoreApplication& app);

// `source` in the wanted language before the toolkit starts (the command line's own answers).
QString TranslatedBeforeStart(const char* context, const char* source);
