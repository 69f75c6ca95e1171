#include "commands/ui/separatelines.h"

TSeparate::TSeparate(QWidget* parent) : QDialog(parent) { setObjectName(QStringLiteral("Separate")); }
