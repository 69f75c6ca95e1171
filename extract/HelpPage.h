#pragma once

#include <QString>

// The help page of the script language for `language` ("tr", "tr_TR", "en" ...): the Turkish
// page for Turkish when it is installed, else the English one. The answer may name a file that
// is not there; the caller decides what a missing page means.
QString HelpPagePath(const QString& language);
