#pragma once
// The stored layouts of the program's windows.
#include "gui/FormLayout.h"

extern const TFormDef frmOptionsLayout;
extern const TFormDef frmAboutLayout;
extern const TFormDef frmEditorLayout;
