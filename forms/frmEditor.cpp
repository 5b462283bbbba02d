// The control panel: the program's main window.
#include "forms/Layouts.h"

namespace {

const TComponentDef kComponents[] = {
    {.Name = "Panel3", .Kind = TControlKind::Panel, .Bounds = {0, 48, 624, 370}, .Align = TAlign::Client},
};

}  // namespace

const TFormDef frmEditorLayout{
    .Name = "frmEditor",
    .Caption = "Muralia Control Panel",
    .BorderStyle = TBorderStyle::Sizeable,
    .Position = TPosition::ScreenCenter,
    .Bounds = {0, 0, 632, 452},
    .ClientSize = false,
    .MinSize = {0, 0, 373, 371},
    .Color = clBtnFace,
    .Font = {.Name = "MS Sans Serif", .Height = -11, .Color = clWindowText},
    .OnCreate = "FormCreate",
    .OnShow = "FormShow",
    .OnCloseQuery = "FormCloseQuery",
    .OnDestroy = "FormDestroy",
    .Components = kComponents,
};
