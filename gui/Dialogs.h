#pragma once
// Message dialogs: a fixed caption and icon per kind, the answer as a modal result.
#include <string>

enum class TMsgDlgType { Information, Warning, Confirmation };

constexpr int mrYes = 6;
constexpr int mrNo = 7;

// Information: caption "Information", the information icon, the button "OK".
// Warning: caption "Warning", the warning icon, the button "OK".
// Confirmation: caption "Confirm", the question icon, the buttons "&Yes" and "&No".
// Returns mrOk, mrYes or mrNo.
int MessageDlg(const std::string& text, TMsgDlgType type);
// The same for text that the ANSI code page cannot hold, such as a file name it lacks characters for.
int MessageDlg(const std::wstring& text, TMsgDlgType type);
