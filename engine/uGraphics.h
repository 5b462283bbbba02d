#pragma once
// Loading a picture file into a picture object, and fitting pictures to a box.
#include <windows.h>

#include <memory>
#include <string>

#include "graphics/Bitmap.h"
#include "graphics/GraphicEx.h"
#include "graphics/Graphics.h"
#include "graphics/Picture.h"

// Loads a picture file: by the class that accepts its content when the multi-format loader has one,
// else by its extension. The caller owns the new picture. Raises on failure, leaving nothing allocated; a
// picture whose data cannot be decoded fails here, even one that decodes only when its pixels are used.
std::unique_ptr<TPicture> LoadPicture(const std::string& fileName);

// The steps of LoadPicture, for callers that need the loaded instance itself rather than a picture
// holding a copy of it.
// Step 1: the class that accepts the content, or nullptr; EFOpenError when the file cannot be opened.
inline const TGraphicClass* PictureClassByContent(const std::string& fileName) {
  return GraphicExClassByContent(fileName);
}
// Step 2a: a new instance of that class, loaded from the file.
std::unique_ptr<TGraphic> LoadGraphic(const TGraphicClass& graphicClass, const std::string& fileName);
// Steps 2 and 3: with the class that step 1 found, or by extension when it found none.
std::unique_ptr<TPicture> LoadPictureAs(const TGraphicClass* graphicClass, const std::string& fileName);
// Step 3: a new picture loaded by the file's extension.
std::unique_ptr<TPicture> LoadPictureByExtension(const std::string& fileName);
// The steps load a JPEG picture by its header and decode it when its pixels are first used. This decodes
// such a picture's rows once, keeping none of them, and raises EInvalidGraphic where a whole decode at
// loading would have failed; any other graphic was decoded whole when it loaded.
void CheckDecodes(const TGraphic& graphic);

// Replaces the box width x height by the graphic's size scaled, keeping its aspect ratio, by the smaller
// of the factors width / graphic width and height / graphic height; a graphic that touches the box from
// inside keeps its own size. Raises EZeroDivide (EInvalidOp for 0 / 0) where a factor divides by zero and
// ERangeError when a side does not fit 32 bits; the box is then unchanged.
void ScaleToFit(const TGraphic& graphic, int& width, int& height);

// Sizes target to source fitted into width x height and draws the whole source into it, halftoned.
void StretchToFit(const TBitmap& source, TBitmap& target, int width, int height);
// Sizes target to width x height and draws the whole source into it, halftoned.
void StretchInto(const TBitmap& source, TBitmap& target, int width, int height);

TColor ColorRefToColor(COLORREF colour);
