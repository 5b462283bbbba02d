#pragma once
// The maker's web pages and mail boxes, opened through the shell in the user's browser or mail program.
#include <string>

class TSupportServices {
public:
  static std::string GetDomain();
  std::string GetHomePageURL() const;
  std::string GetFeedbackURL() const { return GetHomePageURL() + "afeedback.html"; }
  std::string GetDownloadsURL() const { return GetHomePageURL() + "downloads.html"; }
  std::string GetTellAFriendURL() const { return GetHomePageURL() + "tell-a-friend.html"; }
  std::string GetSupportURL() const { return GetHomePageURL() + "support.html"; }
  std::string GetContactEmail() const { return "contact@" + GetDomain(); }
  std::string GetSupportEmail() const { return "support@" + GetDomain(); }

  // Hand the address to the shell with the verb "open", owned by the application window, show command 0;
  // what the shell answers is not looked at.
  void OpenURL(const std::string& url) const;
  void SendMail(const std::string& address) const;

  void OpenHomePage() const { OpenURL(GetHomePageURL()); }
  void OpenFeedbackPage() const { OpenURL(GetFeedbackURL()); }
  void OpenDownloadsPage() const { OpenURL(GetDownloadsURL()); }
  void OpenTellAFriendPage() const { OpenURL(GetTellAFriendURL()); }
  void OpenSupportPage() const { OpenURL(GetSupportURL()); }
  void MailContact() const { SendMail(GetContactEmail()); }
  void MailSupport() const { SendMail(GetSupportEmail()); }
};
