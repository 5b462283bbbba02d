#include "shell/uSupportServices.h"

#include "gui/Forms.h"
#include "system/ShellExecute.h"

// A reserved example domain: no link can lead a user to a stranger's site.
std::string TSupportServices::GetDomain() { return "quorlen.example"; }

std::string TSupportServices::GetHomePageURL() const { return "http://www." + GetDomain() + "/"; }

void TSupportServices::OpenURL(const std::string& url) const {
  ShellExecuteCall(TShellExecuteArgs{.Owner = Application.Handle(), .Verb = "open", .File = url, .ShowCommand = SW_HIDE});
}

void TSupportServices::SendMail(const std::string& address) const { OpenURL("mailto:" + address); }
