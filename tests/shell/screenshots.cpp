// Pictures of the dialogs for the README, written into the current folder by `make screenshot`; not a test.
#include <gtest/gtest.h>

#include "shell/ShellTestSupport.h"
#include "shell/ufrmAbout.h"
#include "shell/ufrmOptions.h"

namespace {

class Screenshots : public ShellTest {
protected:
  static void Picture(HWND window, const char* name) { ui::RequestScreenshot(window, name); }
};

TEST_F(Screenshots, DISABLED_Dialogs) {
  TFormPtr<TfrmOptions> options = MakeForm<TfrmOptions>();
  ui::Later([&] { Picture(options->Handle(), "options-general"); });
  ui::Later([&] { ui::Click(options->lblWallpaper); });
  ui::Later([&] { Picture(options->Handle(), "options-wallpaper"); });
  ui::Later([&] { ui::Click(options->btnCancel); });
  options->ShowModal();

  TFormPtr<TfrmAbout> about = MakeForm<TfrmAbout>();
  ui::Later([&] { Picture(about->Handle(), "about"); });
  ui::Later([&] { ui::Click(about->Component<TButton>("btnOk")); });
  about->ShowModal();
}

}  // namespace
