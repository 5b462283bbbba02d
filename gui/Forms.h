#pragma once
// Windows built from stored layouts (TForm), and the application object that owns them, runs the message
// loop, routes help and shows exceptions.
#include <windows.h>

#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gui/Controls.h"
#include "gui/FormLayout.h"
#include "system/ProgramFile.h"
#include "system/Seams.h"
#include "system/SysUtils.h"

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TControl {
public:
  explicit TForm(const TFormDef& layout);
  ~TForm() override;

  // A component of the layout by its name; raises when there is none of that name and class.
  template <class T>
  T& Component(std::string_view name) const {
    T* found = dynamic_cast<T*>(FindComponent(name));
    if (!found) throw Exception(Format("Component %.*s not found", static_cast<int>(name.size()), name.data()));
    return *found;
  }
  TControl* FindComponent(std::string_view name) const;

  // Runs OnCreate: the owner calls it once the form is whole.
  void DoCreate();
  // Runs OnDestroy: the owner calls it before the form goes.
  void DoDestroy();

  // Runs OnShow, then shows the window; nothing when it is visible already.
  void Show();
  void Hide();
  // Asks OnCloseQuery; a modal form then ends with mrCancel, the main form ends the program, any other hides.
  void Close();
  void BringToFront();

  // Disables the thread's other windows and runs messages until the modal result is set; the title bar's
  // close box gives mrCancel. Gives the activation back to the window that had it.
  int ShowModal();
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result) { FModalResult = result; }
  bool Modal() const { return FModal; }

  // The keyboard focus moved to one of the form's controls: the one that had it runs its OnExit.
  void ControlFocused(TControl* control) override;
  void ModalResultChosen(int result) override { SetModalResult(result); }

  // A key that the form takes as a shortcut before the focused control sees it: the context menus of the
  // focused control and its parents, then the menu bar, then the action list; the first item or action
  // with the key and its modifiers runs.
  virtual bool IsShortCut(const MSG& msg);

  // The components without a window, by their names; raise when there is none of that name.
  TActionList& ActionList() { return FActionList; }
  TMenu& Menu(std::string_view name) const;
  TImageList& ImageList(std::string_view name) const;
  TMenu* MainMenu() const { return FMainMenu; }

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnDestroy;

protected:
  // Answers the events that the layout binds, each an enumerator of the window's own event enum. The base
  // answers none: an event while only the base is there, as the form is made or destroyed, has no one to run.
  virtual void OnEvent(TEventId event, TObject* sender);
  // A form lies in the application's window, which carries the program's taskbar button.
  HWND ParentWindow() const override;
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool CloseQuery();
  // Pop-up help for the control under a WM_HELP request.
  void ShowControlHelp(const HELPINFO& info);

private:
  void Build(const TFormDef& layout);
  void BuildChildren(const TFormDef& layout, TControl* parent, std::string_view parentName);
  TControl& BuildComponent(const TComponentDef& def, TControl* parent);
  void PlaceWindow(const TFormDef& layout);
  void BuildNonVisual(const TFormDef& layout);

  // What the layout's controls, menus and actions call: the form's own OnEvent at the time of the event.
  const TEventHandler FOnEvent = [this](TEventId event, TObject* sender) { OnEvent(event, sender); };
  std::vector<std::unique_ptr<TImageList>> FImageLists;
  TActionList FActionList;
  std::vector<std::unique_ptr<TMenu>> FMenus;
  TMenu* FMainMenu = nullptr;
  std::vector<std::unique_ptr<TControl>> FComponents;
  std::map<std::string, TControl*, std::less<>> FByName;
  TControl* FActiveControl = nullptr;
  TBounds FMinSize;
  int FModalResult = mrNone;
  bool FModal = false;
};

// Forms are handed out so that their OnDestroy runs while the whole form is still there.
struct TFormDeleter {
  void operator()(TForm* form) const;
};
template <class T>
using TFormPtr = std::unique_ptr<T, TFormDeleter>;

template <class T, class... Args>
TFormPtr<T> MakeForm(Args&&... args) {
  TFormPtr<T> form(new T(std::forward<Args>(args)...));
  form->DoCreate();
  return form;
}

// WinHelp itself; tests record the calls instead.
using TWinHelpCall = std::function<bool(HWND owner, const std::string& file, UINT command, ULONG_PTR data)>;
extern TReplaceable<TWinHelpCall> WinHelpCall;

class TApplication {
public:
  // Becomes the error sink of the windows' procedures.
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The full path of the program file.
  std::string ExeName() const { return ProgramFileName(); }
  // The program file's name without its folder, cut at its first dot, every character after the first in
  // lower case.
  std::string Title() const;

  // The hidden window that carries the program's taskbar button; made at the first use.
  HWND Handle();

  // COM on the user-interface thread.
  void Initialize();
  // Makes a form and runs its OnCreate; the first form made this way is the main form. The form is the
  // application's before its OnCreate runs, so that the end of the session during it destroys the form too.
  template <class T>
  void CreateForm(T*& reference) {
    reference = new T();
    FForms.emplace_back(reference);
    if (!FMainForm) FMainForm = reference;
    try {
      reference->DoCreate();
    } catch (...) {
      HandleCurrentException();
    }
  }
  TForm* MainForm() const { return FMainForm; }
  // Destroys the forms, last made first, each after its OnDestroy; the application can then make forms and
  // run again.
  void DestroyForms();

  void SetShowMainForm(bool show) { FShowMainForm = show; }
  // Shows the main form unless told not to, then runs messages until the program is ended.
  void Run();
  void Terminate();
  bool Terminated() const { return FTerminated; }
  // The Windows session ends. Windows may end the process as soon as the message returns, and sends no
  // WM_CLOSE: the program's end runs now, the forms destroyed as after the message loop, and the process ends.
  [[noreturn]] void EndSession();
  // Runs every message waiting, then returns.
  void ProcessMessages();
  // Waits for one message and runs it.
  void HandleMessage();

  // Hides the visible forms, remembering them, then runs OnMinimize; Restore shows them again, each running
  // its OnShow.
  void Minimize();
  void Restore();
  bool Minimized() const { return FMinimized; }
  std::function<void()> OnMinimize;

  const std::string& HelpFile() const { return FHelpFile; }
  void SetHelpFile(std::string file) { FHelpFile = std::move(file); }
  // Raises OnHelp with a call-help flag that starts true, then calls WinHelp when it stays true.
  bool HelpCommand(UINT command, ULONG_PTR data);
  bool HelpContext(int context) { return HelpCommand(HELP_CONTEXT, static_cast<ULONG_PTR>(context)); }
  bool HelpKeyword(const std::string& keyword);
  std::function<bool(UINT command, ULONG_PTR data, bool& callHelp)> OnHelp;

  // Shows the exception's message in a message box, unless OnException takes it.
  void HandleException(const std::exception& e);
  void HandleCurrentException();
  std::function<void(const std::exception& e)> OnException;

private:
  void ProcessMessage(MSG& msg);

  class TWindow;

  std::unique_ptr<TWindow> FWindow;
  TForm* FMainForm = nullptr;
  std::vector<std::unique_ptr<TForm, TFormDeleter>> FForms;
  std::vector<TForm*> FHiddenByMinimize;
  std::string FHelpFile;
  bool FShowMainForm = true;
  bool FTerminated = false;
  bool FMinimized = false;
};

extern TApplication Application;
