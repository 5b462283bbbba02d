#include "shell/ufrmAbout.h"

#include "forms/Layouts.h"
#include "system/VersionInfo.h"
#include "shell/uSupportServices.h"

TfrmAbout* frmAbout = nullptr;

TfrmAbout::TfrmAbout()
    : TForm(frmAboutLayout),
      lblVersion(Component<TLabel>("lblVersion")),
      lblCopyright(Component<TLabel>("lblCopyright")),
      lblHomePage(Component<TLabel>("lblHomePage")),
      lblEmail(Component<TLabel>("lblEmail")) {}

void TfrmAbout::OnEvent(TEventId event, TObject* sender) {
  switch (event.As<TAboutEvent>()) {
    case TAboutEvent::FormShow: FormShow(sender); break;
    case TAboutEvent::lblHomePageClick: lblHomePageClick(sender); break;
    case TAboutEvent::lblEmailClick: lblEmailClick(sender); break;
  }
}

std::string TfrmAbout::GetFileVersionText() {
  const TFileVersionInfo info(Application.ExeName());
  return Format("%u.%u.%u.%u", static_cast<unsigned>(HIWORD(info.FileVersionMS())),
                static_cast<unsigned>(LOWORD(info.FileVersionMS())), static_cast<unsigned>(HIWORD(info.FileVersionLS())),
                static_cast<unsigned>(LOWORD(info.FileVersionLS())));
}

void TfrmAbout::FormShow(TObject*) {
  const TSupportServices services;
  ShowWindow(Application.Handle(), SW_HIDE);
  lblVersion.SetCaption("Version " + GetFileVersionText());
  lblCopyright.SetCaption("Copyright \xA9 2026 Quorlen Software");
  lblHomePage.SetCaption(services.GetHomePageURL());
  lblEmail.SetCaption(services.GetSupportEmail());
}

void TfrmAbout::lblHomePageClick(TObject*) { TSupportServices().OpenHomePage(); }

void TfrmAbout::lblEmailClick(TObject*) { TSupportServices().MailSupport(); }
