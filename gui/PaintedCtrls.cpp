#include "gui/PaintedCtrls.h"

#include "gui/ComponentDef.h"

// Panel

namespace {

int BevelCount(TBevel outer, TBevel inner) { return (outer != TBevel::None) + (inner != TBevel::None); }

void DrawBevel(HDC dc, RECT& rect, TBevel bevel) {
  if (bevel == TBevel::None) return;
  const bool lowered = bevel == TBevel::Lowered;
  HBRUSH topLeft = GetSysColorBrush(lowered ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  HBRUSH bottomRight = GetSysColorBrush(lowered ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
  const RECT top{rect.left, rect.top, rect.right, rect.top + 1};
  const RECT left{rect.left, rect.top, rect.left + 1, rect.bottom};
  const RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
  const RECT right{rect.right - 1, rect.top, rect.right, rect.bottom};
  FillRect(dc, &top, topLeft);
  FillRect(dc, &left, topLeft);
  FillRect(dc, &bottom, bottomRight);
  FillRect(dc, &right, bottomRight);
  InflateRect(&rect, -1, -1);
}

}  // namespace

void TPanel::Configure(const TComponentDef& def, const TLayoutContext&) { SetBevels(def.BevelOuter, def.BevelInner); }

RECT TPanel::AlignRect() const {
  RECT rect = TControl::AlignRect();
  const int inset = BevelCount(FBevelOuter, FBevelInner);
  InflateRect(&rect, -inset, -inset);
  return rect;
}

void TPanel::Paint(HDC dc, const RECT& client) {
  RECT rect = client;
  DrawBevel(dc, rect, FBevelOuter);
  DrawBevel(dc, rect, FBevelInner);
}

// Label

UINT TLabel::DrawFlags() const { return DT_LEFT | DT_TOP | (FWordWrap ? DT_WORDBREAK : DT_SINGLELINE); }

void TLabel::Configure(const TComponentDef& def, const TLayoutContext&) {
  SetWordWrap(def.WordWrap);
  SetAutoSize(def.AutoSize);
  AdjustSize();
}

void TLabel::SetCaption(const std::string& caption) {
  TControl::SetCaption(caption);
  AdjustSize();
  Invalidate();
}

void TLabel::SetFont(const TFont& font) {
  TControl::SetFont(font);
  AdjustSize();
  Invalidate();
}

void TLabel::AdjustSize() {
  if (!FAutoSize || !Handle()) return;
  const std::string text = Caption();
  TScreenDc screen;
  TSelection font(screen.Handle(), FontHandle(Font()));
  RECT rect{0, 0, 0, 0};
  if (FWordWrap) GetClientRect(Handle(), &rect);
  DrawTextA(screen.Handle(), text.empty() ? " " : text.c_str(), -1, &rect, DrawFlags() | DT_CALCRECT);
  const int width = text.empty() ? 0 : rect.right - rect.left;
  SetWindowPos(Handle(), nullptr, 0, 0, width, rect.bottom - rect.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TLabel::Paint(HDC dc, const RECT& client) {
  const std::string text = Caption();
  TSelection font(dc, FontHandle(Font()));
  SetBkMode(dc, TRANSPARENT);
  RECT rect = client;
  if (Enabled()) {
    SetTextColor(dc, ColorToRGB(Font().Color));
    DrawTextA(dc, text.c_str(), -1, &rect, DrawFlags());
  } else {  // engraved, as disabled text is drawn
    RECT shifted = rect;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextA(dc, text.c_str(), -1, &shifted, DrawFlags());
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(dc, text.c_str(), -1, &rect, DrawFlags());
  }
}

LRESULT TLabel::WndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCHITTEST && !OnClick && Cursor() == TCursor::Default) return HTTRANSPARENT;
  return TControl::WndProc(message, wParam, lParam);
}

// Image

void TImage::Configure(const TComponentDef& def, const TLayoutContext&) {
  if (def.Picture) LoadIcon(def.Picture, def.Bounds.Width);
}

void TImage::LoadIcon(int resource, int size) {
  const int scaled = ScaleToScreen(size);
  FIcon.reset(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), IMAGE_ICON,
                                            scaled, scaled, LR_DEFAULTCOLOR)));
  Invalidate();
}

TBitmap& TImage::EnsureBitmap() {
  if (!FBitmap) FBitmap = std::make_unique<TBitmap>();
  return *FBitmap;
}

void TImage::ClearPicture() {
  FBitmap.reset();
  Invalidate();
}

void TImage::Paint(HDC dc, const RECT& client) {
  if (FIcon) DrawIconEx(dc, 0, 0, FIcon.get(), client.right, client.bottom, 0, nullptr, DI_NORMAL);
  if (FBitmap) BitBlt(dc, 0, 0, FBitmap->Width(), FBitmap->Height(), FBitmap->CanvasHandle(), 0, 0, SRCCOPY);
}

// Notebook

void TPage::Configure(const TComponentDef& def, const TLayoutContext& context) {
  TPanel::Configure(def, context);
  SetAlign(TAlign::Client);
  if (auto* notebook = dynamic_cast<TNotebook*>(Parent())) notebook->AddPage(this);
}

void TNotebook::Configure(const TComponentDef& def, const TLayoutContext& context) {
  OnPageChanged = BindEvent(context.OnEvent, def.OnPageChanged);
}

void TNotebook::AddPage(TPage* page) {
  FPages.push_back(page);
  page->SetVisible(false);
}

void TNotebook::ChildrenMade(const TComponentDef& def) {
  FPageIndex = def.PageIndex;
  for (int i = 0; i < PageCount(); ++i) FPages[static_cast<size_t>(i)]->SetVisible(i == FPageIndex);
}

void TNotebook::SetPageIndex(int index) {
  if (index == FPageIndex || index < 0 || index >= PageCount()) return;
  FPages[static_cast<size_t>(index)]->SetVisible(true);
  if (FPageIndex >= 0) FPages[static_cast<size_t>(FPageIndex)]->SetVisible(false);
  FPageIndex = index;
  if (OnPageChanged) OnPageChanged(this);
}
