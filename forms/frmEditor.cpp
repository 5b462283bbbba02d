// The control panel: the program's main window. The toolbar across the top; below it the information band
// (picture, heading, five labels, the preview) and the list of the collection; the actions that the menu bar,
// the list's context menu, the tray menu and the toolbar share.
#include "forms/Layouts.h"
#include "forms/Resources.h"

namespace {

using enum TControlKind;
using enum TEditorEvent;

// The menus' pictures by the actions' icon numbers.
const int kIcons16[] = {0, IDI_EDITOR_CLEAR_DESKTOP, IDI_EDITOR_HELP, IDI_EDITOR_OPTIONS, IDI_EDITOR_MAIL,
                        IDI_EDITOR_ADD, IDI_EDITOR_REMOVE, IDI_EDITOR_NEXT_WALLPAPER, 0, 0, 0, 0,
                        IDI_EDITOR_CONTROL_PANEL, IDI_EDITOR_CHECK_FOR_UPDATE, IDI_EDITOR_TELL_A_FRIEND};
const int kIcons24[] = {IDI_EDITOR_OPTIONS, IDI_EDITOR_REMOVE, IDI_EDITOR_ADD, IDI_EDITOR_MOVE_UP,
                        IDI_EDITOR_MOVE_DOWN, IDI_EDITOR_PLACE};
const TImageListDef kImageLists[] = {
    {.Name = "iml16", .Size = 16, .Icons = kIcons16},
    {.Name = "ImageList1", .Size = 24, .Icons = kIcons24},
};

const TToolButtonDef kToolButtons[] = {
    {.Name = "btnOptions", .Hint = "Show Options Dialog", .Action = "actShowOptionsDialog", .ImageIndex = 0},
    {.Name = "ToolButton5", .Separator = true, .Width = 8},
    {.Name = "btnRemove", .Hint = "Remove selected image", .Action = "actRemove", .ImageIndex = 1},
    {.Name = "btnAddPicture", .Hint = "Add image(s) to collection", .Action = "actAdd", .ImageIndex = 2},
    {.Name = "btnUp", .Caption = "Up", .Hint = "Move image up", .ImageIndex = 3, .OnClick = btnUpClick},
    {.Name = "btnDown", .Caption = "Down", .Hint = "Move image down", .ImageIndex = 4, .OnClick = btnDownClick},
    {.Name = "ToolButton3", .Separator = true, .Width = 8},
    {.Name = "btnPut", .Caption = "Place", .Hint = "Place image to desktop", .ImageIndex = 5, .OnClick = btnPutClick},
};

const TActionDef kActions[] = {
    {"actShowOptionsDialog", "Options...", 0, 3, "Options", actShowOptionsDialogExecute},
    {"actExit", "Exit", ShortCut(VK_F4, ssAlt), -1, "Application", actExitExecute},
    {"actRemove", "Remove", ShortCut(VK_DELETE, 0), 6, "Images", actRemoveExecute},
    {"actAdd", "Add", ShortCut(VK_INSERT, 0), 5, "Images", actAddExecute},
    {"actRemoveMissingImages", "Remove Dead", 0, -1, "Images", actRemoveMissingImagesExecute},
    {"actAbout", "About", 0, -1, "Help", actAboutExecute},
    {"actHelp", "Help", 0, 2, "Help", actHelpExecute},
    {"actCheckForUpdate", "Check for Update...", 0, 13, "Help", actCheckForUpdateExecute},
    {"actHome", "Home Page", 0, -1, "Help", actHomeExecute},
    {"actSupport", "Support", 0, 4, "Help", actSupportExecute},
    {"actContact", "Contact via Email", 0, 4, "Help", actContactExecute},
    {"actRemoveAllImages", "Remove All", 0, -1, "Images", actRemoveAllImagesExecute},
    {"actPlaceImage", "Place", ShortCut(VK_RETURN, ssCtrl), -1, "Images", actPlaceImageExecute},
    {"actMoveUp", "Move Up", ShortCut(VK_UP, ssCtrl), -1, "Images", actMoveUpExecute},
    {"actMoveDown", "Move Down", ShortCut(VK_DOWN, ssCtrl), -1, "Images", actMoveDownExecute},
    {"actRequestSupport", "Request Support Online", 0, -1, "Help", actRequestSupportExecute},
    {"actRequestSupportViaEmail", "Request Support via Email", 0, 4, "Help", actRequestSupportViaEmailExecute},
    {"actAnonymousFeedback", "Anonymous Feedback", 0, -1, "Help", actAnonymousFeedbackExecute},
    {"actTellAFriend", "Tell a Friend/Colleague", 0, 14, "Help", actTellAFriendExecute},
    {"actClearDesktop", "Clear Desktop", 0, 1, "Images", actClearDesktopExecute},
    {"actChangeWallpaper", "Next Wallpaper", 0, 7, "Images", actChangeWallpaperExecute},
    {"actControlPanel", "Control Panel", 0, 12, "Application", actControlPanelExecute},
};

const TMenuItemDef kMainMenu[] = {
    {.Name = "File1", .Caption = "&File"},
    {.Name = "Add1", .Parent = "File1", .Action = "actAdd"},
    {.Name = "Remove1", .Parent = "File1", .Action = "actRemove"},
    {.Name = "Up2", .Parent = "File1", .Action = "actMoveUp"},
    {.Name = "Down2", .Parent = "File1", .Action = "actMoveDown"},
    {.Name = "N9", .Parent = "File1", .Caption = "-"},
    {.Name = "RemoveInvalid1", .Parent = "File1", .Action = "actRemoveMissingImages"},
    {.Name = "mnuRemoveAll", .Parent = "File1", .Action = "actRemoveAllImages"},
    {.Name = "ClearDesktop1", .Parent = "File1", .Action = "actClearDesktop"},
    {.Name = "N12", .Parent = "File1", .Caption = "-"},
    {.Name = "actPlaceImage1", .Parent = "File1", .Action = "actPlaceImage"},
    {.Name = "N3", .Parent = "File1", .Caption = "-"},
    {.Name = "Options1", .Parent = "File1", .Action = "actShowOptionsDialog"},
    {.Name = "N2", .Parent = "File1", .Caption = "-"},
    {.Name = "Exit1", .Parent = "File1", .Action = "actExit"},
    {.Name = "Help1", .Caption = "Help"},
    {.Name = "Help3", .Parent = "Help1", .Caption = "Help", .ImageIndex = 2, .OnClick = Help3Click},
    {.Name = "Support1", .Parent = "Help1", .Caption = "Support"},
    {.Name = "RequestSupport1", .Parent = "Support1", .Action = "actRequestSupport"},
    {.Name = "RequestSupportviaEmail1", .Parent = "Support1", .Action = "actRequestSupportViaEmail"},
    {.Name = "N7", .Parent = "Support1", .Caption = "-"},
    {.Name = "AnonymousFeedback1", .Parent = "Support1", .Action = "actAnonymousFeedback"},
    {.Name = "QuorlenSoftwareontheWeb1", .Parent = "Help1", .Caption = "Quorlen Software on the Web"},
    {.Name = "Home1", .Parent = "QuorlenSoftwareontheWeb1", .Action = "actHome"},
    {.Name = "Contact1", .Parent = "QuorlenSoftwareontheWeb1", .Action = "actContact"},
    {.Name = "ellaFriendColleague1", .Parent = "Help1", .Action = "actTellAFriend"},
    {.Name = "Checkforupdates1", .Parent = "Help1", .Action = "actCheckForUpdate"},
    {.Name = "N1", .Parent = "Help1", .Caption = "-"},
    {.Name = "AboutBrindlemoor1", .Parent = "Help1", .Action = "actAbout"},
};

const TMenuItemDef kTrayMenu[] = {
    {.Name = "Show1", .Action = "actControlPanel"},
    {.Name = "Options2", .Action = "actShowOptionsDialog"},
    {.Name = "N8", .Caption = "-"},
    {.Name = "Add3", .Action = "actAdd"},
    {.Name = "ClearDesktop2", .Action = "actClearDesktop"},
    {.Name = "ChangeWallpaper1", .Action = "actChangeWallpaper"},
    {.Name = "N6", .Caption = "-"},
    {.Name = "Help2", .Action = "actHelp"},
    {.Name = "Support2", .Caption = "Support"},
    {.Name = "RequestSupport2", .Parent = "Support2", .Action = "actRequestSupport"},
    {.Name = "RequestSupportviaEmail2", .Parent = "Support2", .Action = "actRequestSupportViaEmail"},
    {.Name = "N5", .Parent = "Support2", .Caption = "-"},
    {.Name = "AnonymousFeedback2", .Parent = "Support2", .Action = "actAnonymousFeedback"},
    {.Name = "About1", .Action = "actAbout"},
    {.Name = "N4", .Caption = "-"},
    {.Name = "Exit2", .Action = "actExit"},
};

const TMenuItemDef kContextMenu[] = {
    {.Name = "Add2", .Action = "actAdd"},
    {.Name = "Remove2", .Action = "actRemove"},
    {.Name = "Up1", .Action = "actMoveUp"},
    {.Name = "Down1", .Action = "actMoveDown"},
    {.Name = "N10", .Caption = "-"},
    {.Name = "RemoveMissingImages1", .Action = "actRemoveMissingImages"},
    {.Name = "RemoveAll1", .Action = "actRemoveAllImages"},
    {.Name = "N11", .Caption = "-"},
    {.Name = "Place1", .Action = "actPlaceImage"},
};

const TMenuDef kMenus[] = {
    {.Name = "MainMenu", .Kind = TMenuKind::MainMenu, .Images = "iml16", .Items = kMainMenu},
    {.Name = "pumContext", .Images = "iml16", .Items = kContextMenu},
    {.Name = "pupTray", .Images = "iml16", .Items = kTrayMenu},
};

const TFont kHeadingFont{.Name = "Georgia", .Height = -19, .Style = {.Bold = true}, .Color = clWindowText};
const TFont kFileNameFont{.Name = "MS Sans Serif", .Height = -11, .Style = {.Bold = true}, .Color = clWindowText};
const TFont kHeaderFont{.Name = "MS Shell Dlg 2", .Height = -11, .Color = clWindowText};

const TVirtualTreeColumn kColumns[] = {
    {"Name", 200}, {"Size", 100, TAlignment::RightJustify}, {"Type", 150}, {"Path", 300}};

const TComponentDef kComponents[] = {
    {.Name = "tbrMain", .Kind = ToolBar, .Bounds = {0, 0, 624, 48}, .Align = TAlign::Top, .Images = "ImageList1",
     .Buttons = kToolButtons},
    {.Name = "Panel3", .Kind = Panel, .Bounds = {0, 48, 624, 370}, .Align = TAlign::Client, .TabOrder = 1},
    {.Name = "Panel5", .Kind = Panel, .Parent = "Panel3", .Bounds = {0, 0, 624, 113}, .Align = TAlign::Top,
     .Color = clWhite, .BevelOuter = TBevel::Lowered},
    {.Name = "Panel7", .Kind = Panel, .Parent = "Panel5", .Bounds = {1, 1, 128, 111}, .Align = TAlign::Left,
     .Color = clWhite},
    {.Name = "Image3", .Kind = Image, .Parent = "Panel7", .Bounds = {8, 8, 24, 24}, .Picture = IDI_EDITOR_WALLPAPER},
    {.Name = "Label8", .Kind = Label, .Parent = "Panel7", .Bounds = {8, 40, 104, 23}, .Caption = "Wallpaper",
     .Font = &kHeadingFont, .WordWrap = true},
    {.Name = "Panel8", .Kind = Panel, .Parent = "Panel5", .Bounds = {129, 1, 208, 111}, .Align = TAlign::Left,
     .Color = clWhite},
    {.Name = "lblFileName", .Kind = Label, .Parent = "Panel8", .Bounds = {8, 8, 0, 0}, .Font = &kFileNameFont,
     .AutoSize = true},
    {.Name = "lblFileType", .Kind = Label, .Parent = "Panel8", .Bounds = {8, 22, 0, 0}, .AutoSize = true},
    {.Name = "lblSizes", .Kind = Label, .Parent = "Panel8", .Bounds = {8, 48, 0, 0}, .AutoSize = true},
    {.Name = "lblSize", .Kind = Label, .Parent = "Panel8", .Bounds = {8, 67, 0, 0}, .AutoSize = true},
    {.Name = "lblChanged", .Kind = Label, .Parent = "Panel8", .Bounds = {8, 85, 0, 0}, .AutoSize = true},
    {.Name = "Panel9", .Kind = Panel, .Parent = "Panel5", .Bounds = {337, 1, 168, 111}, .Align = TAlign::Left,
     .Color = clWhite},
    {.Name = "imgPreview", .Kind = Image, .Parent = "Panel9", .Bounds = {0, 0, 168, 111}, .Align = TAlign::Client},
    {.Name = "Panel1", .Kind = Panel, .Parent = "Panel3", .Bounds = {0, 113, 624, 257}, .Align = TAlign::Client,
     .TabOrder = 0},
    {.Name = "vstWallpapers", .Kind = VirtualStringTree, .Parent = "Panel1", .Bounds = {0, 0, 624, 257},
     .Align = TAlign::Client, .TabOrder = 0, .PopupMenu = "pumContext", .Columns = kColumns,
     .HeaderFont = &kHeaderFont},
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
    .OnCreate = TEditorEvent::FormCreate,
    .OnShow = TEditorEvent::FormShow,
    .OnDestroy = TEditorEvent::FormDestroy,
    .Components = kComponents,
    .ImageLists = kImageLists,
    .Actions = kActions,
    .Menus = kMenus,
    .Menu = "MainMenu",
};
