#pragma once
// The about dialog: product name, version, copyright, home page and support mail address.
#include <string>

#include "gui/Forms.h"

class TfrmAbout : public TForm {
public:
  TfrmAbout();

  // The program file's fixed file version as "%u.%u.%u.%u"; raises when the file has no version resource.
  static std::string GetFileVersionText();

  TLabel& lblVersion;
  TLabel& lblCopyright;
  TLabel& lblHomePage;
  TLabel& lblEmail;

protected:
  void OnEvent(TEventId event, TObject* sender) override;

private:
  void FormShow(TObject* sender);
  void lblHomePageClick(TObject* sender);
  void lblEmailClick(TObject* sender);
};

extern TfrmAbout* frmAbout;
