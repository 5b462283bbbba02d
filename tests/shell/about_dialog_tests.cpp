// The about dialog and the web and mail links.
#include <gtest/gtest.h>

#include "shell/ShellTestSupport.h"
#include "shell/uSupportServices.h"
#include "shell/ufrmAbout.h"
#include "TempFolder.h"

namespace {

class AboutDialogTest : public ShellTest {
protected:
  TFormPtr<TfrmAbout> FForm = MakeForm<TfrmAbout>();
};

TEST_F(AboutDialogTest, ShowsTheFixedFileVersionAndTheLinks) {
  std::string version, copyright, home, mail;
  bool applicationWindowVisible = true;
  ui::Later([&] {
    version = FForm->lblVersion.Caption();
    copyright = FForm->lblCopyright.Caption();
    home = FForm->lblHomePage.Caption();
    mail = FForm->lblEmail.Caption();
    applicationWindowVisible = IsWindowVisible(Application.Handle());
    ui::Click(FForm->Component<TButton>("btnOk"));
  });
  EXPECT_EQ(mrOk, FForm->ShowModal());
  // The test program's version resource: fixed version 1.0.0.18, version strings "9.9.9.9".
  EXPECT_EQ("Version 1.0.0.18", version);
  EXPECT_EQ("Copyright \xA9 2026 Quorlen Software", copyright);
  EXPECT_EQ("http://www.quorlen.example/", home);
  EXPECT_EQ("support@quorlen.example", mail);
  EXPECT_FALSE(applicationWindowVisible);
}

TEST_F(AboutDialogTest, AProgramFileWithoutVersionFailsTheShowingAndKeepsTheOtherTexts) {
  TempFolder folder;
  const std::string file = folder.Write("orlo.exe", "not a program");
  TScopedReplacement<std::function<std::string()>> program(ProgramFileName, [&] { return file; });
  FForm->lblVersion.SetCaption("before");
  FForm->lblHomePage.SetCaption("before");
  try {
    FForm->ShowModal();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ("File contains no version information", e.Message());
  }
  EXPECT_FALSE(FForm->Visible());
  EXPECT_EQ("before", FForm->lblVersion.Caption());
  EXPECT_EQ("before", FForm->lblHomePage.Caption());
}

TEST_F(AboutDialogTest, LinkClicksOpenThePageAndTheMailProgram) {
  ui::Later([&] {
    ui::Click(FForm->lblHomePage);
    ui::Click(FForm->lblEmail);
    ui::Click(FForm->Component<TButton>("btnOk"));
  });
  FForm->ShowModal();
  ASSERT_EQ(2u, FShellCalls.size());
  for (const TShellExecuteArgs& call : FShellCalls) {
    EXPECT_EQ(Application.Handle(), call.Owner);
    EXPECT_EQ("open", call.Verb);
    EXPECT_EQ(nullptr, call.Parameters);
    EXPECT_EQ(nullptr, call.Directory);
    EXPECT_EQ(SW_HIDE, call.ShowCommand);
  }
  EXPECT_EQ("http://www.quorlen.example/", FShellCalls[0].File);
  EXPECT_EQ("mailto:support@quorlen.example", FShellCalls[1].File);
}

TEST_F(AboutDialogTest, LayoutAsDesigned) {
  RECT client;
  GetClientRect(FForm->Handle(), &client);
  EXPECT_EQ(308, client.right);
  EXPECT_EQ(194, client.bottom);
  EXPECT_TRUE(GetWindowLongA(FForm->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT window;
  GetWindowRect(FForm->Handle(), &window);
  EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (window.left + window.right) / 2, 1);
  const TLabel& title = FForm->Component<TLabel>("Label1");
  EXPECT_EQ("Times New Roman", title.Font().Name);
  EXPECT_TRUE(title.Font().Style.Bold);
  EXPECT_EQ(clGreen, title.Font().Color);
  EXPECT_EQ(24, title.BoundsRect().left);
  EXPECT_EQ(88, FForm->lblEmail.BoundsRect().left);
  EXPECT_EQ(TCursor::HandPoint, FForm->lblEmail.Cursor());
}

TEST(SupportServices, EveryPageIsTheHomePageWithItsNameAndMailGoesToTheDomain) {
  std::vector<std::string> opened;
  TScopedReplacement<TShellExecuteCall> shell(ShellExecuteCall,
                                              [&](const TShellExecuteArgs& args) { opened.push_back(args.File); });
  const TSupportServices services;
  services.OpenFeedbackPage();
  services.OpenDownloadsPage();
  services.OpenTellAFriendPage();
  services.OpenSupportPage();
  services.MailContact();
  services.MailSupport();
  const std::vector<std::string> expected = {
      "http://www.quorlen.example/afeedback.html", "http://www.quorlen.example/downloads.html",
      "http://www.quorlen.example/tell-a-friend.html", "http://www.quorlen.example/support.html",
      "mailto:contact@quorlen.example", "mailto:support@quorlen.example"};
  EXPECT_EQ(expected, opened);
}

}  // namespace
