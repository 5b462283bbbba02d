// The control panel's view of the collection: the list's texts and stripes, the information band and the
// preview. Texts follow the entry index that a row carries, stripes its position.
#include "engine/uPictureLoading.h"
#include "system/FileUtils.h"
#include "shell/ufrmEditor.h"

namespace {

constexpr COLORREF kStripe = RGB(0xFF, 0xD1, 0x57);
constexpr int kPreviewWidth = 168;
constexpr int kPreviewHeight = 111;

}  // namespace

// The picture dialog's preview, made as the control panel's is: any file that is not a picture shows nothing.
TPreview PicturePreview(const std::string& fileName, int width, int height) {
  try {
    const std::unique_ptr<TPicture> picture = LoadPreviewPicture(fileName);
    if (!picture) return {};
    const int pictureWidth = picture->Width();
    const int pictureHeight = picture->Height();
    auto fitted = std::make_unique<TBitmap>();
    DrawFitted(*picture, *fitted, width, height);
    return {std::move(fitted), pictureWidth, pictureHeight};
  } catch (const std::exception&) {
    return {};
  }
}

void TfrmEditor::vstWallpapersGetText(TVirtualStringTree* sender, PVirtualNode node, int column, TVSTTextType,
                                      std::wstring& cellText) {
  const std::optional<int32_t> index = sender ? sender->GetNodeData(node) : std::nullopt;
  if (!index || !FWallpaperList) return;
  switch (column) {
    case 0: cellText = Widened(FWallpaperList->GetTitle(*index)); break;
    case 1: cellText = Widened(FWallpaperList->GetSizeText(*index)); break;
    case 2: cellText = Widened(FWallpaperList->GetTypeText(*index)); break;
    case 3: cellText = Widened(FWallpaperList->GetFolder(*index)); break;
    default: break;
  }
}

void TfrmEditor::vstWallpapersBeforeCellPaint(TVirtualStringTree*, HDC canvas, PVirtualNode node, int,
                                              const RECT& cellRect) {
  if (node->Index() % 2 == 0) return;
  SetDCBrushColor(canvas, kStripe);  // the device context's own brush: nothing is made for each cell painted
  FillRect(canvas, &cellRect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void TfrmEditor::vstWallpapersFocusChanged(TVirtualStringTree* sender, PVirtualNode node) {
  UpdateButtons();
  if (!sender) return;
  try {
    const std::optional<int32_t> index = sender->GetNodeData(node);
    if (index && *index != FPreviewIndex) {
      FClearPreview = true;
      imgPreview.ClearPicture();
    }
    if (!index) imgPreview.ClearPicture();
  } catch (...) {
    ShowImageInfo(node);
    ShowPreview(FPreviewIndex);
    throw;
  }
  ShowImageInfo(node);
  ShowPreview(FPreviewIndex);
}

void TfrmEditor::imgPreviewProgress(TObject*) {
  if (!FClearPreview) return;
  imgPreview.ClearPicture();
  FClearPreview = false;
}

void TfrmEditor::ShowImageInfo(PVirtualNode node) {
  const std::optional<int32_t> index = node ? vstWallpapers.GetNodeData(node) : std::nullopt;
  if (!index || !FWallpaperList) return;
  ClearImageInfo();
  lblFileName.SetCaption(FWallpaperList->GetTitle(*index));
  lblFileType.SetCaption(FWallpaperList->GetTypeText(*index));
  lblSizes.SetCaption("Properties: " + FWallpaperList->GetDimensionsText(*index));
  lblSize.SetCaption("Size: " + FWallpaperList->GetSizeText(*index));
  lblChanged.SetCaption("Modified: " + FWallpaperList->GetDateText(*index));
  FPreviewIndex = *index;
}

void TfrmEditor::ClearImageInfo() {
  for (TLabel* label : {&lblFileName, &lblFileType, &lblSizes, &lblSize, &lblChanged}) label->SetCaption("");
  UpdateButtons();
}

void TfrmEditor::ShowPreview(int32_t index) {
  if (!FWallpaperList || !FWallpaperList->IsValidItem(index)) return;
  const std::string fileName = FWallpaperList->GetFileName(index);
  try {
    const std::unique_ptr<TPicture> picture = LoadPreviewPicture(fileName);
    if (!picture) return;  // the preview keeps what it shows
    DrawFitted(*picture, imgPreview.EnsureBitmap(), kPreviewWidth, kPreviewHeight);
    imgPreview.Changed();
  } catch (const std::exception&) {
    imgPreview.ClearPicture();
  }
}
