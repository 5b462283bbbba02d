#pragma once
// The controls of our own window classes, which paint themselves: panels, labels, pictures and notebooks.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"
#include "gui/Controls.h"
#include "system/WinHandles.h"

// A plain rectangle with optional bevels: the container of other controls.
class TPanel : public TControl {
public:
  using TControl::TControl;
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;
  void SetBevels(TBevel outer, TBevel inner) {
    FBevelOuter = outer;
    FBevelInner = inner;
  }
  RECT AlignRect() const override;

protected:
  void Paint(HDC dc, const RECT& client) override;

private:
  TBevel FBevelOuter = TBevel::None;
  TBevel FBevelInner = TBevel::None;
};

// A text drawn on its parent's background; sized to its text when AutoSize is on.
class TLabel : public TControl {
public:
  using TControl::TControl;
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;
  void SetCaption(const std::string& caption) override;
  void SetFont(const TFont& font) override;
  void SetAutoSize(bool autoSize) { FAutoSize = autoSize; }
  void SetWordWrap(bool wordWrap) { FWordWrap = wordWrap; }
  void AdjustSize();

protected:
  LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc, const RECT& client) override;

private:
  UINT DrawFlags() const;
  bool FAutoSize = false;
  bool FWordWrap = false;
};

// A picture: an icon drawn with its transparency, or a bitmap drawn from the top-left corner at its own size;
// what it does not cover shows the control's colour.
class TImage : public TControl {
public:
  using TControl::TControl;
  // Shows the layout's icon, if it names one.
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;
  // Takes an icon from the program's resources at the given designed size.
  void LoadIcon(int resource, int size);
  // The bitmap shown, made empty when there is none; the caller repaints with Changed() after drawing.
  TBitmap& EnsureBitmap();
  TBitmap* Picture() const { return FBitmap.get(); }
  void ClearPicture();
  void Changed() { Invalidate(); }

  // Raised while the picture reports loading progress; a bitmap reports none.
  TNotifyEvent OnProgress;

protected:
  void Paint(HDC dc, const RECT& client) override;

private:
  TIconHandle FIcon;
  std::unique_ptr<TBitmap> FBitmap;
};

// One page of a notebook: a container the size of the notebook.
class TPage : public TPanel {
public:
  using TPanel::TPanel;
  // Fills its notebook and joins its pages.
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;
};

// Pages without tabs, one shown at a time.
class TNotebook : public TControl {
public:
  using TControl::TControl;
  int PageIndex() const { return FPageIndex; }
  // Shows a valid page other than the current one, then runs OnPageChanged; any other value does nothing.
  void SetPageIndex(int index);
  void AddPage(TPage* page);
  void Configure(const TComponentDef& def, const TLayoutContext& context) override;
  // Shows the page as designed, without OnPageChanged.
  void ChildrenMade(const TComponentDef& def) override;
  int PageCount() const { return static_cast<int>(FPages.size()); }

  TNotifyEvent OnPageChanged;

private:
  std::vector<TPage*> FPages;
  int FPageIndex = -1;
};
