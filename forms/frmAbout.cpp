// The about dialog: the product name, version, copyright and the two links.
#include "forms/Layouts.h"

namespace {

using enum TControlKind;
using enum TAboutEvent;

const TFont kTextFont{.Name = "MS Sans Serif", .Height = -11, .Color = clBlack};
const TFont kLinkFont{.Name = "MS Sans Serif", .Height = -11, .Style = {.Underline = true}, .Color = clBlue};
const TFont kTitleFont{.Name = "Times New Roman", .Height = -27, .Style = {.Bold = true}, .Color = clGreen};

const TComponentDef kComponents[] = {
    {.Name = "Label1", .Kind = Label, .Bounds = {24, 16, 0, 0}, .Caption = "Muralia", .Font = &kTitleFont,
     .AutoSize = true},
    {.Name = "lblVersion", .Kind = Label, .Bounds = {24, 56, 0, 0}, .Font = &kTextFont, .AutoSize = true},
    {.Name = "lblCopyright", .Kind = Label, .Bounds = {24, 80, 0, 0}, .Font = &kTextFont, .AutoSize = true},
    {.Name = "Label3", .Kind = Label, .Bounds = {24, 104, 0, 0}, .Caption = "Home page:", .Font = &kTextFont,
     .AutoSize = true},
    {.Name = "Label4", .Kind = Label, .Bounds = {24, 128, 0, 0}, .Caption = "Email:", .Font = &kTextFont,
     .AutoSize = true},
    {.Name = "lblHomePage", .Kind = Label, .Bounds = {88, 104, 0, 0}, .Font = &kLinkFont,
     .Cursor = TCursor::HandPoint, .AutoSize = true, .OnClick = lblHomePageClick},
    {.Name = "lblEmail", .Kind = Label, .Bounds = {88, 128, 0, 0}, .Font = &kLinkFont,
     .Cursor = TCursor::HandPoint, .AutoSize = true, .OnClick = lblEmailClick},
    {.Name = "btnOk", .Kind = Button, .Bounds = {116, 160, 75, 25}, .Caption = "&Ok", .TabOrder = 0,
     .ModalResult = 1},
};

}  // namespace

const TFormDef frmAboutLayout{
    .Name = "frmAbout",
    .Caption = "About",
    .BorderStyle = TBorderStyle::Dialog,
    .StayOnTop = true,
    .Position = TPosition::ScreenCenter,
    .Bounds = {0, 0, 308, 194},
    .Color = clBtnFace,
    .Font = {.Name = "MS Sans Serif", .Height = -11, .Color = clBlue},
    .OnShow = TAboutEvent::FormShow,
    .Components = kComponents,
};
